// import refuses JSON that does not describe a Codeplug exactly, with one
// line that names the place, and writes nothing.

#include "cli_process.h"

#include "support/random_codeplug.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <random>

using namespace qtx;
using namespace qtx::testing;

namespace {

// The value at `path` (object keys and list positions) replaced by `value`,
// or removed when there is none.
QJsonValue changed(const QJsonValue& node, QStringList path, const std::optional<QJsonValue>& value)
{
    if (path.isEmpty())
        return *value;
    const QString key = path.takeFirst();
    if (node.isArray()) {
        QJsonArray a = node.toArray();
        const int i = key.toInt();
        if (path.isEmpty() && !value)
            a.removeAt(i);
        else
            a[i] = changed(a[i], path, value);
        return a;
    }
    QJsonObject o = node.toObject();
    if (path.isEmpty() && !value)
        o.remove(key);
    else
        o[key] = changed(o[key], path, value);
    return o;
}

QJsonValue at(QJsonValue node, const QStringList& path)
{
    for (const QString& key : path)
        node = node.isArray() ? node.toArray()[key.toInt()] : node.toObject()[key];
    return node;
}

struct Case {
    const char* name;
    std::function<std::string(const QJsonObject&, const std::string& text)> make;
    const char* expected;        // part of the line
    const char* fieldOnLine = nullptr; // the line named holds this text
};

std::string set(const QJsonObject& root, const QString& path, const QJsonValue& v)
{
    return QJsonDocument(changed(root, path.split('/'), v).toObject()).toJson().toStdString();
}

std::string removed(const QJsonObject& root, const QString& path)
{
    return QJsonDocument(changed(root, path.split('/'), std::nullopt).toObject()).toJson().toStdString();
}

} // namespace

TEST_F(CliTest, ImportRefusesWhatIsNotExactlyACodeplug)
{
    CodeplugGenerator gen(99);
    auto cp = std::make_unique<Codeplug>(gen.make());
    cp->body.ChannelCount = 3;
    cp->channels[0] = gen.channel(12);
    cp->channels[1] = gen.channel(kChannelVfo);
    cp->channels[2] = gen.channel(kChannelPA);
    SavePair(*cp, file("in.dat"));
    const CliRun exported = RunCli({"export", qfile("in.dat")});
    ASSERT_EQ(exported.status, 0) << exported;
    QJsonParseError parseError;
    const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(exported.out), &parseError).object();
    ASSERT_EQ(parseError.error, QJsonParseError::NoError);

    // Another writer's layout (indentation, escapes) is fine when the content is.
    std::ofstream(file("other.json"), std::ios::binary) << QJsonDocument(root).toJson().toStdString();
    ASSERT_EQ(RunCli({"import", qfile("other.json"), "-o", qfile("other.dat")}).status, 0);
    EXPECT_EQ(ReadBytes(file("other.dat")), ReadBytes(file("in.dat")));
    EXPECT_EQ(ReadBytes(file("other.fre")), ReadBytes(file("in.fre")));

    const QJsonArray keys = at(root, {"body", "Settings", "Keys", "Keys"}).toArray();
    QJsonArray longer = keys;
    longer.append(0);
    QJsonArray shorter = keys;
    shorter.removeLast();
    const int firstNumber = at(root, {"channels", "0", "Number"}).toInt();

    const std::vector<Case> cases = {
        {"cut short", [](const QJsonObject&, const std::string& t) { return t.substr(0, t.size() / 2); },
         "not valid JSON"},
        {"not an object", [](const QJsonObject&, const std::string&) { return std::string("[1, 2]"); },
         "expected an object at the top"},
        {"another format", [](const QJsonObject& r, const std::string&) { return set(r, "format", "something"); },
         "not a QTX Codeplug"},
        {"a key twice",
         [](const QJsonObject&, const std::string& t) {
             std::string s = t;
             s.insert(s.find("\"formatVersion\""), "\"formatVersion\": 1,\n  ");
             return s;
         },
         "appears twice"},
        {"text for a number", [](const QJsonObject& r, const std::string&) { return set(r, "body/Settings/Dtmf/Ani", "1"); },
         "body.Settings.Dtmf.Ani: expected a whole number, found a string", "\"Ani\""},
        {"fraction", [](const QJsonObject& r, const std::string&) { return set(r, "body/Settings/Dtmf/Ani", 1.5); },
         "body.Settings.Dtmf.Ani: 1.5 is not a whole number"},
        {"unknown field",
         [](const QJsonObject& r, const std::string&) { return set(r, "body/Settings/Dtmf/Colour", 1); },
         "unknown field body.Settings.Dtmf.Colour", "\"Colour\""},
        {"missing field",
         [](const QJsonObject& r, const std::string&) { return removed(r, "body/Settings/Scan/WaitTime"); },
         "missing field body.Settings.Scan.WaitTime"},
        {"byte too large",
         [](const QJsonObject& r, const std::string&) { return set(r, "body/Settings/Keys/Keys/3", 256); },
         "body.Settings.Keys.Keys[3]: 256 is outside 0..255"},
        {"int16 too large",
         [](const QJsonObject& r, const std::string&) { return set(r, "channels/1/RxCtcss", 32768); },
         "channels[1].RxCtcss: 32768 is outside -32768..32767", "\"RxCtcss\""},
        {"negative uint16",
         [](const QJsonObject& r, const std::string&) { return set(r, "body/Settings/TwoTone/ToneA", -1); },
         "body.Settings.TwoTone.ToneA: -1 is outside 0..65535"},
        {"text too short",
         [](const QJsonObject& r, const std::string&) { return set(r, "channels/2/Name", "ABC"); },
         "channels[2].Name: holds 3 characters; the field holds exactly 7", "\"Name\""},
        {"character beyond one byte",
         [](const QJsonObject& r, const std::string&) {
             return set(r, "body/Settings/Options/PowerOnMessage", QString::fromUtf8("Caf\u20ac 12"));
         },
         "U+20AC does not fit in one byte"},
        {"double as a word", [](const QJsonObject& r, const std::string&) { return set(r, "body/Band/RxLow", "fast"); },
         "body.Band.RxLow: a double is a number or its bit pattern"},
        {"object expected", [](const QJsonObject& r, const std::string&) { return set(r, "body/Settings", QJsonArray()); },
         "body.Settings: expected an object, found a list"},
        {"list too long",
         [&longer](const QJsonObject& r, const std::string&) { return set(r, "body/Settings/Keys/Keys", longer); },
         "body.Settings.Keys.Keys: holds 16 entries; 15 are expected"},
        {"list too short",
         [&shorter](const QJsonObject& r, const std::string&) { return set(r, "body/Settings/Keys/Keys", shorter); },
         "body.Settings.Keys.Keys: holds 14 entries, too few"},
        {"count above the list", [](const QJsonObject& r, const std::string&) { return set(r, "body/ChannelCount", 4); },
         "body.ChannelCount is 4 but channels lists 3"},
        {"count above 203", [](const QJsonObject& r, const std::string&) { return set(r, "body/ChannelCount", 204); },
         "body.ChannelCount: 204 is outside 0..203"},
        {"channel number outside", [](const QJsonObject& r, const std::string&) { return set(r, "channels/0/Number", 204); },
         "channels[0].Number: 204 is not a channel number"},
        {"channel number twice",
         [firstNumber](const QJsonObject& r, const std::string&) { return set(r, "channels/2/Number", firstNumber); },
         "is already channels[0]"},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = c.make(root, exported.out);
        std::ofstream(file("bad.json"), std::ios::binary | std::ios::trunc) << text;
        const CliRun r = RunCli({"import", qfile("bad.json"), "-o", qfile("out.dat")});
        EXPECT_EQ(r.status, 2) << r;
        EXPECT_TRUE(r.oneLine()) << r;
        EXPECT_NE(r.err.find(c.expected), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(file("out.dat")));
        EXPECT_FALSE(std::filesystem::exists(file("out.fre")));
        if (c.fieldOnLine) {
            // "line N:" points at the line that holds the field.
            const size_t mark = r.err.find("line ");
            ASSERT_NE(mark, std::string::npos) << r.err;
            const int line = std::stoi(r.err.substr(mark + 5));
            size_t start = 0;
            for (int i = 1; i < line && start != std::string::npos; ++i)
                start = text.find('\n', start) + 1;
            const std::string shownLine = text.substr(start, text.find('\n', start) - start);
            EXPECT_NE(shownLine.find(c.fieldOnLine), std::string::npos) << "line " << line << ": " << shownLine;
        }
    }
}

TEST_F(CliTest, ImportReadsTextAndDoubleEncodings)
{
    ASSERT_EQ(RunCli({"new", "-o", qfile("new.dat")}).status, 0);
    const CliRun exported = RunCli({"export", qfile("new.dat")});
    ASSERT_EQ(exported.status, 0);
    QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(exported.out)).object();
    // A NaN with a payload by its bit pattern, a name with NUL, control and
    // high bytes, quote and backslash.
    root = changed(root, {"body", "Band", "TxHigh"}, QJsonValue("0x7FF00000DEADBEEF")).toObject();
    const QString name = QString::fromUtf8("\"\\\u00ff") + QChar(0) + QChar(0x1B) + QChar(0x85) + QChar(' ');
    root = changed(root, {"channels", "0", "Name"}, QJsonValue(name)).toObject();
    std::ofstream(file("edited.json"), std::ios::binary) << QJsonDocument(root).toJson().toStdString();
    const CliRun imported = RunCli({"import", qfile("edited.json"), "-o", qfile("edited.dat")});
    ASSERT_EQ(imported.status, 0) << imported;

    Codeplug cp;
    ASSERT_TRUE(ReadCodeplugFiles(file("edited.dat"), cp).ok());
    uint64_t bits;
    std::memcpy(&bits, &cp.body.Band.TxHigh, sizeof bits);
    EXPECT_EQ(bits, 0x7FF00000DEADBEEFull);
    EXPECT_EQ(cp.channels[0].Name.str(), std::string("\"\\\xFF\0\x1B\x85 ", 7));

    // And the export writes them back the documented way.
    const CliRun again = RunCli({"export", qfile("edited.dat")});
    EXPECT_NE(again.out.find("\"TxHigh\": \"0x7FF00000DEADBEEF\""), std::string::npos);
    EXPECT_NE(again.out.find(R"("Name": "\"\\)" "\xC3\xBF" R"(\u0000\u001B\u0085 ")"), std::string::npos);
}

TEST_F(CliTest, DamagedJsonIsRefusedWithOneLine)
{
    CodeplugGenerator gen(7);
    auto cp = std::make_unique<Codeplug>(gen.make());
    cp->body.ChannelCount = 2;
    cp->channels[0] = gen.channel(5);
    cp->channels[1] = gen.channel(kChannelVfo);
    SavePair(*cp, file("in.dat"));
    const CliRun exported = RunCli({"export", qfile("in.dat")});
    ASSERT_EQ(exported.status, 0) << exported;
    const std::string& good = exported.out;

    // Bytes changed, cut out, repeated or put in: anything from text that
    // is no JSON to JSON that describes no Codeplug.
    std::mt19937 rng(1414);
    const std::string junk = "{}[]\",:\\-0123456789.eE tfn\n\x01\x80\xC3\xFF";
    int refused = 0;
    for (int round = 0; round < 24; ++round) {
        std::string text = good;
        const int damages = 1 + static_cast<int>(rng() % 3);
        for (int d = 0; d < damages; ++d) {
            const size_t at = rng() % text.size();
            const size_t length = std::min<size_t>(1 + rng() % 40, text.size() - at);
            switch (rng() % 4) {
            case 0: text[at] = junk[rng() % junk.size()]; break;
            case 1: text.erase(at, length); break;
            case 2: text.insert(at, text.substr(at, length)); break;
            default: text.insert(at, 1, junk[rng() % junk.size()]); break;
            }
        }
        SCOPED_TRACE("round " + std::to_string(round));
        std::filesystem::remove(file("out.dat"));
        std::ofstream(file("bad.json"), std::ios::binary | std::ios::trunc) << text;
        const CliRun r = RunCli({"import", qfile("bad.json"), "-o", qfile("out.dat")});
        if (r.status == 0)
            continue; // a digit changed into another: still a Codeplug
        ++refused;
        EXPECT_EQ(r.status, 2) << r;
        EXPECT_TRUE(r.oneLine()) << r;
        EXPECT_FALSE(std::filesystem::exists(file("out.dat")));
        const size_t mark = r.err.find(": line ");
        ASSERT_NE(mark, std::string::npos) << r.err;
        // The line named is one of the text's.
        EXPECT_LE(std::stol(r.err.substr(mark + 7)), std::count(text.begin(), text.end(), '\n') + 1) << r.err;
    }
    EXPECT_GE(refused, 18);
}

TEST_F(CliTest, DoubleLiteralsAreReadExactly)
{
    ASSERT_EQ(RunCli({"new", "-o", qfile("new.dat")}).status, 0);
    const std::string exported = RunCli({"export", qfile("new.dat")}).out;
    auto replaced = [&exported](const std::string& from, const std::string& to) {
        std::string s = exported;
        const size_t at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? s : s.replace(at, from.size(), to);
    };

    // A negative zero is written "-0", which a whole-number reading would
    // take as 0; the smallest subnormal keeps its bits.
    std::string text = replaced("\"RxLow\": 136,\n      \"RxHigh\": 174,", "\"RxLow\": -0,\n      \"RxHigh\": 5e-324,");
    std::ofstream(file("zero.json"), std::ios::binary | std::ios::trunc) << text;
    const CliRun imported = RunCli({"import", qfile("zero.json"), "-o", qfile("zero.dat")});
    ASSERT_EQ(imported.status, 0) << imported;
    const CliRun again = RunCli({"export", qfile("zero.dat")});
    EXPECT_EQ(again.out, text);

    // Too small for a double is refused, not read as 0.
    std::ofstream(file("tiny.json"), std::ios::binary) << replaced("\"TxLow\": 136,", "\"TxLow\": 1e-400,");
    const CliRun tiny = RunCli({"import", qfile("tiny.json"), "-o", qfile("tiny.dat")});
    EXPECT_EQ(tiny.status, 2) << tiny;
    EXPECT_NE(tiny.err.find("body.Band.TxLow: 1e-400 is too large or too small for a double"), std::string::npos)
        << tiny.err;
}
