// Key paths far beyond the 1024 characters of a fixed buffer, which only the fake registry
// can hold (Windows limits each key name to 255 characters).
#include <gtest/gtest.h>

#include "core/SoundTree.h"
#include "platform/fake/FakeRegistry.h"

namespace qm::test {

TEST(EventSoundsLongKeys, SchemesAndEventsOfAnyLengthAreAddressedWhole) {
    FakeRegistry registry;
    RecordingSoundsView view;
    CEventSounds sounds(registry, view);
    const std::string scheme(700, 's');
    const std::string event(900, 'e');
    AddEvent(registry, scheme, event, "C:\\Media\\old.wav", "Yes");
    AddEvent(registry, scheme, "Short", "C:\\Media\\short.wav", "No");
    sounds.FillSchemeList();
    ASSERT_EQ(sounds.Schemes(), std::vector<std::string>{scheme});
    sounds.SelectScheme(0);
    ASSERT_EQ(sounds.Rows().size(), 2u);
    EXPECT_EQ(sounds.Rows()[0].name, event);
    EXPECT_TRUE(sounds.Rows()[0].marked);
    EXPECT_EQ(sounds.Rows()[0].currentFile, "old.wav");

    CPools pools = SoundPool({{"C:\\Sounds\\new.wav", {scheme}}});
    CRandom random;
    sounds.RandomizeScheme(pools, random, false);
    EXPECT_EQ(Current(registry, scheme, event), "C:\\Sounds\\new.wav");
    EXPECT_EQ(Current(registry, scheme, "Short"), "C:\\Media\\short.wav");
    sounds.MarkAll(false);
    EXPECT_EQ(Marker(registry, scheme, event), "No");
}

}  // namespace qm::test
