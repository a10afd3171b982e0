// Sequence data through the host's commands: set-up, flatten, re-set-up, set-down.

#include "tests/plugin/effect_host_fixture.h"

#include <cstring>
#include <vector>

namespace {

// One instance without sequence data yet.
struct SequenceData : SetUpEffect {
    // No handle left locked, and none the effect passed back was unknown to the host.
    void expect_clean_handles()
    {
        EXPECT_EQ(host->locked_handles(), 0);
        EXPECT_EQ(host->bad_handle_calls(), 0);
    }
    qvhost::test_host::instance instance;
};

bool is_fresh(qvhost::test_host& host, PF_Handle handle)
{
    if (!handle || host.handle_size(handle) != 24)
        return false;
    const auto* bytes = static_cast<const unsigned char*>(*handle);
    for (int i = 0; i < 24; ++i)
        if (bytes[i] != 0)
            return false;
    return true;
}

PF_Handle flat_block(qvhost::test_host& host, const std::vector<unsigned char>& bytes)
{
    PF_Handle handle = host.new_handle(static_cast<A_HandleSize>(bytes.size()));
    if (!bytes.empty())
        std::memcpy(*handle, bytes.data(), bytes.size());
    return handle;
}

TEST_F(SequenceData, SetUpGivesTwentyFourZeroBytesAndSetDownFreesThem)
{
    std::size_t before = host->live_handles();
    ASSERT_EQ(host->sequence_setup(instance), PF_Err_NONE);
    EXPECT_TRUE(is_fresh(*host, instance.sequence_data));
    EXPECT_EQ(host->last_out().sequence_data, instance.sequence_data);
    EXPECT_EQ(host->locked_handles(), 0);
    ASSERT_EQ(host->sequence_setdown(instance), PF_Err_NONE);
    EXPECT_EQ(instance.sequence_data, nullptr);
    EXPECT_EQ(host->last_out().sequence_data, nullptr);
    EXPECT_EQ(host->live_handles(), before);
}

TEST_F(SequenceData, SetDownOrFlattenWithoutDataGivesNull)
{
    EXPECT_EQ(host->sequence_setdown(instance), PF_Err_NONE);
    EXPECT_EQ(instance.sequence_data, nullptr);
    EXPECT_EQ(host->sequence_flatten(instance), PF_Err_NONE);
    EXPECT_EQ(instance.sequence_data, nullptr);
    EXPECT_EQ(host->bad_handle_calls(), 0);
}

TEST_F(SequenceData, FlattenReplacesTheDataWithAnEmptyFlatHandle)
{
    ASSERT_EQ(host->sequence_setup(instance), PF_Err_NONE);
    PF_Handle live = instance.sequence_data;
    ASSERT_EQ(host->sequence_flatten(instance), PF_Err_NONE);
    ASSERT_NE(instance.sequence_data, nullptr);
    EXPECT_NE(instance.sequence_data, live);
    EXPECT_FALSE(host->is_live(live));
    EXPECT_EQ(host->handle_size(instance.sequence_data), 0);
    EXPECT_EQ(host->locked_handles(), 0);
}

TEST_F(SequenceData, FlattenedInstanceIsFlattenedAgainAndSetDownWithoutReadingIt)
{
    ASSERT_EQ(host->sequence_setup(instance), PF_Err_NONE);
    ASSERT_EQ(host->sequence_flatten(instance), PF_Err_NONE);
    // The flat handle is empty: anything read from it lies past its end.
    EXPECT_EQ(host->sequence_flatten(instance), PF_Err_NONE);
    ASSERT_NE(instance.sequence_data, nullptr);
    EXPECT_EQ(host->handle_size(instance.sequence_data), 0);
    EXPECT_EQ(host->sequence_setdown(instance), PF_Err_NONE);
    EXPECT_EQ(instance.sequence_data, nullptr);
    expect_clean_handles();
}

TEST_F(SequenceData, FullLifeCycleLeavesNoHandleBehind)
{
    std::size_t before = host->live_handles();
    ASSERT_EQ(host->sequence_setup(instance), PF_Err_NONE);
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(host->sequence_flatten(instance), PF_Err_NONE);
        ASSERT_EQ(host->sequence_resetup(instance), PF_Err_NONE);
        EXPECT_TRUE(is_fresh(*host, instance.sequence_data));
    }
    ASSERT_EQ(host->sequence_setdown(instance), PF_Err_NONE);
    EXPECT_EQ(host->live_handles(), before);
    expect_clean_handles();
}

TEST_F(SequenceData, ReSetUpFromAnyFlatBlockGivesFreshDataAndFreesTheBlock)
{
    const std::vector<std::vector<unsigned char>> blocks = {
        {'Q', 'V', 'C', 'H', 'F', 0, 0, 1},
        {'Q', 'V', 'C', 'F', 'H', 0, 0, 1, 9, 9},
        {'Q', 'V', 'C', 'H', 'F', 0, 0},
        {'X', 'Y', 'Z', 'H', 'F', 0, 0, 1},
        {},
    };
    for (const auto& bytes : blocks) {
        SCOPED_TRACE(bytes.size());
        qvhost::test_host::instance instance;
        instance.sequence_data = flat_block(*host, bytes);
        PF_Handle flat = instance.sequence_data;
        ASSERT_EQ(host->sequence_resetup(instance), PF_Err_NONE);
        EXPECT_TRUE(is_fresh(*host, instance.sequence_data));
        EXPECT_FALSE(host->is_live(flat));
        ASSERT_EQ(host->sequence_setdown(instance), PF_Err_NONE);
    }
    qvhost::test_host::instance without_flat;
    ASSERT_EQ(host->sequence_resetup(without_flat), PF_Err_NONE);
    EXPECT_TRUE(is_fresh(*host, without_flat.sequence_data));
    ASSERT_EQ(host->sequence_setdown(without_flat), PF_Err_NONE);
    expect_clean_handles();
}

} // namespace
