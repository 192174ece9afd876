#pragma once
// A render engine drawing into a recording context that is current for the length of a test, with
// the user's text size put back to Large afterwards.

#include <gtest/gtest.h>

#include "KivoCore/KivoRenderEngine.h"
#include "Platform/graphics/recording_context.h"

class RenderEngineTest : public ::testing::Test {
protected:
    RenderEngineTest() : scope(rec) {}
    ~RenderEngineTest() override { plat::setPreferredContentSizeCategory(plat::ContentSizeCategory::Large); }

    plat::RecordingContext rec;
    plat::CurrentContextScope scope;
    KivoRenderEngine engine;
};
