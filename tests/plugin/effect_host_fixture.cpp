#include "tests/plugin/effect_host_fixture.h"

void EffectHost::SetUp()
{
    module = std::make_unique<qvhost::effect_module>(QV_EFFECT_MODULE);
    ASSERT_NE(module->main_by_name(), nullptr);
    host = std::make_unique<qvhost::test_host>(module->main_by_name());
}

void EffectHost::TearDown()
{
    if (host && host->global_data())
        host->global_setdown();
    host.reset();
    module.reset();
}

void EffectHost::set_up_effect()
{
    ASSERT_EQ(host->global_setup(), PF_Err_NONE);
    ASSERT_EQ(host->params_setup(), PF_Err_NONE);
}

void SetUpEffect::SetUp()
{
    EffectHost::SetUp();
    if (!HasFatalFailure())
        set_up_effect();
}
