#pragma once
// A fresh DemoState and a headless App for each test.
#include <gtest/gtest.h>

#include <vector>

#include "app/headless/headless.h"
#include "app/presenter.h"
#include "demo/demo_state.h"

inline AppEvent keyEvent(int32_t type, int32_t code) { return AppEvent{type, {code, 0, 0, 0, 0, 0}}; }

class DemoTest : public ::testing::Test {
protected:
    App* app = nullptr;
    void SetUp() override {
        resetDemoState();
        app = createHeadlessApp();
        ASSERT_NE(app, nullptr);
    }
    void TearDown() override {
        destroyHeadlessApp(app);
        resetDemoState();
    }
    void pressAt(int64_t step, int32_t code) { headlessScheduleEvent(app, step, keyEvent(EVENT_KEY_DOWN, code)); }
    const HeadlessRecord& record() const { return headlessRecord(app); }
    std::vector<int32_t> levels() const {
        std::vector<int32_t> result;
        for (const HeadlessFrame& frame : record().frames) result.push_back(frame.level);
        return result;
    }
};
