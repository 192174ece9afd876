#pragma once
// The editing scene: 6 tasks × 5 columns (name: string, amount: number, due: date, done: Boolean that
// may hold no value, status: a key shown through a data map) in a 320 × 568 window on the virtual
// clock, en_US and UTC. Row 5's name "7" and amount 7 merge into one range. Events are counted.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridDataMap.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/foundation/process_cache.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/pinned_locale.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "grid_access.h"

namespace grid_test {

class Task : public plat::Object {
public:
    PLAT_CLASS()
    Task() = default;
    Task(std::string name, double amount, plat::Date due, plat::Value done, long status)
        : name(std::move(name)), amount(amount), due(due), done(std::move(done)), status(status) {}
    std::string name;
    double amount = 0;
    plat::Date due;
    plat::Value done;
    long status = 0;
};

class Status : public plat::Object {
public:
    PLAT_CLASS()
    Status() = default;
    Status(long key, std::string label) : key(key), label(std::move(label)) {}
    long key = 0;
    std::string label;
};

// Columns by position.
enum EditColumn : std::int32_t { NameCol = 0, AmountCol = 1, DueCol = 2, DoneCol = 3, StatusCol = 4 };

// 1 Mar 2026 15:30 UTC.
inline constexpr double March1At1530 = 1772379000;
inline constexpr double Day = 86400;

class EditingScene : public ::testing::Test {
protected:
    void SetUp() override { build(); }
    // A fresh scene (window, grid, items, counted events) in the locale current now: table rows call
    // it to start over.
    void build();
    void draw() {
        plat::RecordingContext rec;
        window->display(rec);
    }
    // Starts the edit and lets the deferred focusing run.
    bool open(std::int32_t row, std::int32_t col) {
        const bool opened = grid->startEditing(true, row, col);
        settle();
        return opened;
    }
    void settle() { plat::RunLoop::main().runUntilIdle(); }
    // Replaces the editor's whole text as typing over a full selection does.
    void type(const std::string& text) {
        auto& e = *editor();
        e.replaceRange({0, plat::utf16Length(e.text())}, text);
    }
    const std::shared_ptr<plat::TextField>& editor() const { return Access::editor(*grid); }

public:
    std::shared_ptr<Task> task(std::size_t i) const { return items->at(i).as<Task>(); }

protected:
    GridColumn& column(std::int32_t c) const { return *grid->columns()->column(c); }

    plat::testing::PinnedLocale locale{"en_US", "UTC"};
    plat::testing::VirtualClock clock;
    plat::testing::LogCapture log;
    plat::ArrayPtr items;
    std::shared_ptr<GridDataMap> statuses;
    std::shared_ptr<plat::Window> window;
    std::shared_ptr<OmbriGrid> grid;
    // Event names in the order raised: "beginning", "prepare", "ending", "ended".
    std::vector<std::string> events;
};

}  // namespace grid_test
