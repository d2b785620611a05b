// The comparison of two Codeplugs: exactly the fields that differ, in
// plain words, with the text rules of change tracking.

#include "files/codeplug_diff.h"

#include "model/channel_list.h"

#include "support/codeplug_fields.h"
#include "support/random_codeplug.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace qtx;
using qtx::testing::CodeplugGenerator;
using qtx::testing::FieldLister;

namespace {

// Every field as "path=value", the channels by number.
std::map<std::string, std::string> FieldsByPath(const Codeplug& cp)
{
    Codeplug copy = cp;
    FieldLister lister(false);
    field(lister, "body", copy.body);
    for (int i = 0; i < copy.count(); ++i) {
        lister.push("channel", copy.channels[i].Number);
        field(lister, "", copy.channels[i]);
        lister.pop();
    }
    std::map<std::string, std::string> out;
    for (const std::string& line : lister.lines) {
        const size_t eq = line.find('=');
        out[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return out;
}

std::set<int> ChannelNumbers(const Codeplug& cp)
{
    std::set<int> numbers;
    for (int i = 0; i < cp.count(); ++i)
        numbers.insert(cp.channels[i].Number);
    return numbers;
}

// What a field-by-field walk says differs: the paths of changed fields and
// "channel[N]" for a channel only one side has.
std::set<std::string> ExpectedPaths(const Codeplug& a, const Codeplug& b)
{
    const auto x = FieldsByPath(a);
    const auto y = FieldsByPath(b);
    const std::set<int> inA = ChannelNumbers(a);
    const std::set<int> inB = ChannelNumbers(b);
    std::set<std::string> paths;
    for (const auto& [path, value] : x) {
        if (path.ends_with(".Number") || path.ends_with(".Index"))
            continue;
        const auto other = y.find(path);
        if (other != y.end() && other->second != value)
            paths.insert(path);
    }
    for (int n : inA)
        if (!inB.count(n))
            paths.insert("channel[" + std::to_string(n) + "]");
    for (int n : inB)
        if (!inA.count(n))
            paths.insert("channel[" + std::to_string(n) + "]");
    return paths;
}

std::set<std::string> DiffPaths(const std::vector<FieldDifference>& diff)
{
    std::set<std::string> paths;
    for (const FieldDifference& d : diff)
        EXPECT_TRUE(paths.insert(d.path).second) << "listed twice: " << d.path;
    return paths;
}

std::vector<std::string> Lines(const Codeplug& a, const Codeplug& b)
{
    std::vector<std::string> lines;
    for (const FieldDifference& d : DiffCodeplugs(a, b))
        lines.push_back(DiffLine(d));
    return lines;
}

ChannelRecord* Channel(Codeplug& cp, int number)
{
    const auto pos = FindChannel(cp, number);
    return pos ? &cp.channels[*pos] : nullptr;
}

} // namespace

TEST(CodeplugDiff, ACodeplugEqualsItself)
{
    for (uint32_t seed : {1u, 2u, 3u}) {
        const Codeplug cp = CodeplugGenerator(seed).make();
        EXPECT_TRUE(DiffCodeplugs(cp, cp).empty());
    }
    EXPECT_TRUE(DiffCodeplugs(Codeplug{}, Codeplug{}).empty());
}

TEST(CodeplugDiff, RandomPairsListExactlyTheFieldsThatDiffer)
{
    for (uint32_t seed = 10; seed < 20; ++seed) {
        const Codeplug a = CodeplugGenerator(seed).make();
        const Codeplug b = CodeplugGenerator(seed + 100).make();
        const auto diff = DiffCodeplugs(a, b);
        EXPECT_EQ(DiffPaths(diff), ExpectedPaths(a, b)) << "seeds " << seed << ", " << seed + 100;
    }
}

TEST(CodeplugDiff, AFewEditsListExactlyThoseFields)
{
    for (uint32_t seed = 30; seed < 40; ++seed) {
        CodeplugGenerator gen(seed);
        const Codeplug a = gen.make();
        Codeplug b = a;
        // A handful of fields anywhere in the body, chosen at random.
        const auto fields = FieldsByPath(a);
        std::set<std::string> changed;
        b.body.Settings.Scan.WaitTime = static_cast<uint8_t>(a.body.Settings.Scan.WaitTime + 1);
        changed.insert("body.Settings.Scan.WaitTime");
        const int key = gen.range(0, 14);
        b.body.Settings.Keys.Keys[static_cast<size_t>(key)] ^= 0x40;
        changed.insert("body.Settings.Keys.Keys[" + std::to_string(key) + "]");
        const int call = gen.range(0, 99);
        b.body.Settings.FiveTone.CallList[static_cast<size_t>(call)].Name.setTerminated("ZZZZZZZ");
        changed.insert("body.Settings.FiveTone.CallList[" + std::to_string(call) + "].Name");
        if (a.count() > 0) {
            ChannelRecord& ch = b.channels[static_cast<size_t>(gen.range(0, a.count() - 1))];
            ch.TxPower = static_cast<int16_t>(ch.TxPower + 1);
            changed.insert("channel[" + std::to_string(ch.Number) + "].TxPower");
        }
        EXPECT_EQ(DiffPaths(DiffCodeplugs(a, b)), changed) << "seed " << seed;
        EXPECT_EQ(ExpectedPaths(a, b), changed) << "seed " << seed;
    }
}

TEST(CodeplugDiff, PlainWordsGroupedByRecord)
{
    Codeplug a;
    ChannelRecord ch = BlankChannel(13); // shown as channel 12
    ch.InUse = 1;
    ch.RxFrequency.setPadded("014500000");
    a.channels[0] = ch;
    a.body.ChannelCount = 1;
    a.body.Settings.Options.Item1705 = 3;
    Codeplug b = a;
    b.channels[0].RxFrequency.setPadded("014502500");
    b.channels[0].Name.setTerminated("HOME");
    b.body.Settings.Options.Item1705 = 5;
    b.body.Settings.Dtmf.KillCode.Length = 3;
    b.body.Settings.Dtmf.KillCode.Code.setTerminated("123");
    b.body.Settings.FiveTone.PttIdEnd.ToneLength = 40;
    b.body.Settings.FiveTone.Standard = 2;
    b.body.FiveToneCodeFormat = 7;

    EXPECT_EQ(Lines(a, b), (std::vector<std::string>{
                               "channel 12: receive 145.00000 \u2192 145.02500",
                               "channel 12: name \"\" \u2192 \"HOME\"",
                               "DTMF: kill code \"\" \u2192 \"123\"",
                               "DTMF: kill code length 0 \u2192 3",
                               "5-tone: standard 0 \u2192 2",
                               "5-tone: PTT-ID end tone length 70 \u2192 40",
                               "5-tone: decode time 2 \u2192 7",
                               "option: squelch level 3 \u2192 5",
                           }));
}

TEST(CodeplugDiff, TextsAndCodesCompareAsChangeTrackingDoes)
{
    Codeplug a;
    a.channels[0] = BlankChannel(5);
    a.body.ChannelCount = 1;
    a.channels[0].Name.setPadded("ABC");
    a.body.Settings.Dtmf.Codes[2].Length = 2;
    a.body.Settings.Dtmf.Codes[2].Code.setPadded("12");
    Codeplug b = a;
    b.channels[0].Name.setTerminated("ABC");                // NUL end mark instead of padding
    b.body.Settings.Dtmf.Codes[2].Code.setPadded("129999"); // past the length
    EXPECT_TRUE(DiffCodeplugs(a, b).empty());

    b.body.Settings.Dtmf.Codes[2].Length = 3;
    EXPECT_EQ(Lines(a, b), (std::vector<std::string>{"DTMF M3: code \"12\" \u2192 \"129\"", "DTMF M3: length 2 \u2192 3"}));
}

TEST(CodeplugDiff, ChannelsArePartneredByNumber)
{
    Codeplug a;
    for (int n : {3, 1, 202}) {
        ChannelRecord ch = BlankChannel(n);
        ch.InUse = 1;
        a.channels[a.body.ChannelCount++] = ch;
    }
    Codeplug b = a;
    std::swap(b.channels[0], b.channels[2]);
    EXPECT_TRUE(DiffCodeplugs(a, b).empty()) << "list order alone";

    DeleteChannel(b, 1);
    ChannelRecord added = BlankChannel(201);
    b.channels[b.body.ChannelCount++] = added;
    Channel(b, 202)->Scrambler = 1;
    EXPECT_EQ(Lines(a, b), (std::vector<std::string>{"channel 0: removed", "channel PA: added",
                                                     "channel PB: scrambler 0 \u2192 1"}));
}
