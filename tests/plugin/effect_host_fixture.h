#pragma once

#include "tools/qvhost/effect_module.h"
#include "tools/qvhost/test_host.h"

#include <gtest/gtest.h>

#include <memory>

// A freshly loaded effect module and a host to drive it, per test.
class EffectHost : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Global set-up and parameter set-up, as the host does before anything else.
    void set_up_effect();

    std::unique_ptr<qvhost::effect_module> module;
    std::unique_ptr<qvhost::test_host> host;
};

// The same with the effect set up before each test.
class SetUpEffect : public EffectHost {
protected:
    void SetUp() override;
};
