// SPDX-License-Identifier: MIT
//
// The airport windows on screen (Qt's offscreen platform): the pilot types
// "heathrow" into the search window and presses Enter, clicks London
// Heathrow's line, sees its plan, opens and hides the runway details, and
// closes the airport window. With CORVANE_SCREENSHOT_DIR set, the window with
// its details is saved there as airport-window.png.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/startup/AirportHandlers.h"
#include "app/startup/Program.h"
#include "app/ui/ProgramWindows.h"
#include "navdata/AirportDatabaseFile.h"
#include "platform/qt/QtHost.h"
#include "tests/airports/AirportsTestSupport.h"

namespace corvane::airports {
namespace {

template <typename Widget>
Widget* Find(QWidget& window, const char* name) {
    Widget* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

TEST(AirportWindowsOnScreen, SearchChooseDetailsAndClose) {
    qtui::QtHost host;
    testing::FakeLink link;
    Program p(host, link);
    p.airports = std::make_shared<const navdata::AirportDatabase>(
        navdata::LoadAirportDatabase(std::string(CORVANE_TEST_APP_DIR) + "/airdata.tri"));
    p.flightState.simulatorkind = flightstate::kFs98;
    p.Form1Timer1 = std::make_unique<testing::FakeTimer>();
    p.Form1Timer3 = std::make_unique<testing::FakeTimer>();
    p.forms.Form1.visible = true;
    ui::ProgramWindows windows(p, host);
    windows.Sync();

    windows.Run([&] { testing::mnushowplace_Click(p); });
    QWidget& search = windows.Form3Window();
    ASSERT_TRUE(search.isVisible());
    QLineEdit* text = Find<QLineEdit>(search, "TxtAirport");
    ASSERT_NE(text, nullptr);
    QTest::keyClicks(text, "heathrow");
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_FALSE(search.isVisible());

    QWidget& airport = windows.Form2Window();
    ASSERT_TRUE(airport.isVisible());
    QListWidget* list = Find<QListWidget>(airport, "foundlist");
    ASSERT_NE(list, nullptr);
    const QList<QListWidgetItem*> heathrow =
        list->findItems(QStringLiteral("London Heathrow (EGLL)"), Qt::MatchStartsWith);
    ASSERT_EQ(heathrow.size(), 1);
    list->scrollToItem(heathrow.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(heathrow.front()).center());

    ASSERT_NE(p.search.SelectedAirport, 0);
    EXPECT_EQ(p.airports->Airports[std::size_t(p.search.SelectedAirport)].name,
              "London Heathrow (EGLL)");
    EXPECT_EQ(airport.windowTitle(), QStringLiteral("London Heathrow (EGLL)"));
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(Find<QWidget>(airport, "picmap")->isVisible());

    QPushButton* details = Find<QPushButton>(airport, "cmdDetails");
    ASSERT_NE(details, nullptr);
    ASSERT_TRUE(details->isVisible());
    QTest::mouseClick(details, Qt::LeftButton);
    QTableWidget* grid = Find<QTableWidget>(airport, "rungrid");
    ASSERT_NE(grid, nullptr);
    EXPECT_TRUE(grid->isVisible());
    EXPECT_EQ(details->text(), QStringLiteral("Hide details"));
    ASSERT_EQ(grid->rowCount(), 5);
    ASSERT_EQ(grid->columnCount(), 13);
    EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("Rwy"));
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral(" 9L"));
    EXPECT_EQ(grid->item(4, 0)->text(), QStringLiteral(" 27L"));
    EXPECT_FALSE(grid->item(4, 5)->text().isEmpty()) << "27L has its ILS";
    if (const char* dir = std::getenv("CORVANE_SCREENSHOT_DIR")) {
        airport.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/airport-window.png"));
    }

    QTest::mouseClick(details, Qt::LeftButton);
    EXPECT_FALSE(grid->isVisible());
    EXPECT_EQ(details->text(), QStringLiteral("Show details"));

    QTest::mouseClick(Find<QPushButton>(airport, "cmdclose"), Qt::LeftButton);
    EXPECT_FALSE(airport.isVisible());
    EXPECT_TRUE(p.forms.Form1.visible);
    EXPECT_TRUE(p.Form1Timer1->Enabled());
}

}  // namespace
}  // namespace corvane::airports

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
