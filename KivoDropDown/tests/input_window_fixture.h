#pragma once
// The stage of the drop-down and combo-box tests: a full-screen window on the default screen whose
// root view controller's view holds the controls, a virtual clock, and a recorder of event raises.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "KivoCore/KivoEvent.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/screen.h"
#include "Platform/ui/view_controller.h"
#include "Platform/ui/window.h"

class InputWindowTest : public ::testing::Test {
protected:
    InputWindowTest() { window->setRootViewController(controller); }
    ~InputWindowTest() override { plat::Screen::main().reset(); }

    std::shared_ptr<plat::View> root() const { return controller->view(); }
    // `view` added to the root view and laid out.
    template <class V>
    std::shared_ptr<V> place(std::shared_ptr<V> view) {
        root()->addSubview(view);
        window->layoutPass();
        return view;
    }

    // Appends `name` to `log` on every raise of `event`, checking the sender.
    template <class Sender>
    void record(const std::shared_ptr<KivoEvent>& event, const std::string& name, const std::shared_ptr<Sender>& sender) {
        std::weak_ptr<Sender> weak = sender;
        event->addHandler(
            [this, name, weak](const std::shared_ptr<KivoEventContainer>& c) {
                EXPECT_EQ(c->sender(), std::static_pointer_cast<plat::Object>(weak.lock()));
                log.push_back(name);
            },
            sender);
    }

    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = (plat::Screen::main().reset(), plat::Window::create());
    std::shared_ptr<plat::ViewController> controller = plat::ViewController::create();
    std::vector<std::string> log;
};
