// SPDX-License-Identifier: MIT
#include "sim/inprocess/InProcessSimulator.h"

#include "sim/inprocess/VariableSpaceAccess.h"
#include "sim/ipcmodule/IpcModule.h"

namespace corvane::sim {

InProcessSimulator::InProcessSimulator(const SimulatorOptions& options,
                                       std::shared_ptr<const Terrain> terrain)
    : terrain_(std::move(terrain)), simulator_(options, terrain_.get()) {
    Open();
}

InProcessSimulator::~InProcessSimulator() = default;

bool InProcessSimulator::IsOpen() const {
    return window_ && window_->IsPublished();
}

bool InProcessSimulator::Open() {
    if (IsOpen())
        return true;
    closePending_ = false;
    window_ = std::make_unique<desktop::PublishedWindow>(
        kClassName, kTitle, 0, [this](const desktop::Message& m) { return OnMessage(m); },
        [this] { OnCloseRequest(); }, /*inProcess=*/true);
    if (!window_->IsPublished()) {
        error_ = window_->Error();
        window_.reset();
        return false;
    }
    error_.clear();
    return true;
}

void InProcessSimulator::Close() {
    window_.reset();
    closePending_ = false;
}

int InProcessSimulator::Advance(double seconds) {
    if (closePending_)
        Close();
    if (!IsOpen())
        return 0;
    return backend_->Advance(seconds);
}

std::uint32_t InProcessSimulator::OnMessage(const desktop::Message& message) {
    ++messagesReceived_;
    if (!moduleLoaded_)
        return 0;
    VariableSpaceAccess access(backend_->Variables());
    const std::uint32_t answer = ipc::HandleIpcMessage(
        message.name.c_str(), message.atomText.c_str(), message.token, access);
    if (answer == 1)
        ++batchesServed_;
    return answer;
}

void InProcessSimulator::OnCloseRequest() {
    ++closeRequests_;
    // The window is removed at the next Advance(), not inside the sender's
    // call: a real simulator ends some time after the request.
    if (closePolicy_ == ClosePolicy::Close)
        closePending_ = true;
}

}  // namespace corvane::sim
