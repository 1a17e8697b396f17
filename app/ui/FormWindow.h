// SPDX-License-Identifier: MIT
//
// A window of the program on screen: shows its form model (caption, place,
// size, outline, visibility, the window it lives in) and reports its close box.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/forms/Controls.h"
#include "app/ui/ControlSync.h"

namespace corvane::qtui {
class QtHost;
}

namespace corvane::ui {

class FormWindow : public QWidget {
  public:
    FormWindow(forms::Form& model, qtui::QtHost& host, Qt::WindowFlags flags);

    forms::Form& model() { return model_; }
    // The window's controls by their names (for the model's focus requests).
    void AddControl(const std::string& name, QWidget* widget) { controls_[name] = widget; }
    QWidget* Control(const std::string& name) const;

    // The close box was used; the window stays until its model hides it.
    std::function<void()> onClose;

    // Brings the window in line with its model.
    void SyncWindow(Scale scale);
    // True when the window lives inside another process's window.
    bool Embedded() const { return embedded_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QPoint Origin();

    forms::Form& model_;
    qtui::QtHost& host_;
    std::map<std::string, QWidget*> controls_;
    std::uint64_t parentTried_ = 0;
    bool embedded_ = false;
    std::vector<forms::RegionShape> shownRegion_;
    bool regionShown_ = false;
    QPoint parentOrigin_;
    qint64 parentOriginAt_ = -1;
};

}  // namespace corvane::ui
