// One offscreen demo context for every GL test: the window, GL entry points and the programs.
#pragma once

#include "app/Demo.h"

#include <gtest/gtest.h>

#include <memory>

class GLContextTest : public ::testing::Test {
public:
    static void SetUpTestSuite();
    static std::unique_ptr<Demo> demo;
};
