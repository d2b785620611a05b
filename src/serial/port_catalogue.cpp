#include "port_catalogue.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>
#include <map>

namespace qtx {

namespace {

struct Pattern {
    const char* prefix;
    int offset;
    int count;
};

// ttyS is capped so that its numbers never reach those of ttyUSB, and so on.
constexpr Pattern kPatterns[] = {
    {"/dev/ttyS", 1, 32},
    {"/dev/ttyUSB", 33, 32},
    {"/dev/ttyACM", 65, kMaxPortNumber - 65 + 1},
};

QString canonical(const QString& path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

QStringList systemDevices()
{
    QStringList out;
    const auto infos = QSerialPortInfo::availablePorts();
    for (const auto& info : infos)
        out << info.systemLocation();
    return out;
}

std::optional<int> comNumber(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*COM(\\d{1,5})\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int n = m.captured(1).toInt();
    if (n < 1 || n > kMaxPortNumber)
        return std::nullopt;
    return n;
}

} // namespace

int PatternPortNumber(const QString& device)
{
    for (const auto& p : kPatterns) {
        const QString prefix = QString::fromLatin1(p.prefix);
        if (!device.startsWith(prefix))
            continue;
        const QString digits = device.mid(prefix.size());
        static const QRegularExpression number(QStringLiteral("^(0|[1-9]\\d{0,4})$"));
        if (!number.match(digits).hasMatch())
            return 0;
        const int k = digits.toInt();
        return k < p.count ? k + p.offset : 0;
    }
    return 0;
}

QString PatternPortDevice(int number)
{
    for (const auto& p : kPatterns) {
        const int k = number - p.offset;
        if (k >= 0 && k < p.count)
            return QString::fromLatin1(p.prefix) + QString::number(k);
    }
    return {};
}

PortCatalogue::PortCatalogue(const QMap<QString, QString>& configuredPorts)
    : lister_(systemDevices)
{
    for (auto it = configuredPorts.begin(); it != configuredPorts.end(); ++it) {
        const auto n = comNumber(it.key());
        const QString path = it.value().trimmed();
        if (n && !path.isEmpty())
            configured_.insert(*n, path);
    }
}

PortCatalogue PortCatalogue::FromNumbers(const QMap<int, QString>& configuredPorts)
{
    PortCatalogue catalogue;
    for (auto it = configuredPorts.begin(); it != configuredPorts.end(); ++it) {
        const QString path = it.value().trimmed();
        if (it.key() >= 1 && it.key() <= kMaxPortNumber && !path.isEmpty())
            catalogue.configured_.insert(it.key(), path);
    }
    return catalogue;
}

QList<PortEntry> PortCatalogue::ports() const
{
    struct Listed {
        QString device;
        bool fromSystem;
    };
    std::map<int, Listed> byNumber;
    for (const QString& device : lister_ ? lister_() : QStringList{}) {
        if (const int n = PatternPortNumber(device))
            byNumber.emplace(n, Listed{device, true});
    }
    for (auto it = configured_.begin(); it != configured_.end(); ++it) {
        if (!QFileInfo::exists(it.value()))
            continue;
        // A system device given a number of its own is listed under that
        // number only.
        const QString target = canonical(it.value());
        for (auto s = byNumber.begin(); s != byNumber.end();) {
            if (s->second.fromSystem && canonical(s->second.device) == target)
                s = byNumber.erase(s);
            else
                ++s;
        }
        byNumber[it.key()] = Listed{it.value(), false};
    }
    QList<PortEntry> list;
    for (const auto& [n, listed] : byNumber)
        list.append(PortEntry{n, QStringLiteral("COM%1").arg(n), listed.device});
    return list;
}

int FillPortList(const PortCatalogue& catalogue, QList<PortEntry>& list)
{
    list = catalogue.ports();
    return list.isEmpty() ? 0 : list.first().number;
}

bool IsPortListed(const PortCatalogue& catalogue, int number)
{
    const auto list = catalogue.ports();
    return std::any_of(list.begin(), list.end(), [number](const PortEntry& e) { return e.number == number; });
}

int FirstListedPort(const PortCatalogue& catalogue)
{
    const auto list = catalogue.ports();
    return list.isEmpty() ? 0 : list.first().number;
}

std::optional<QString> ResolvePortDevice(const PortCatalogue& catalogue, const QString& nameOrPath)
{
    const QString text = nameOrPath.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (const auto n = comNumber(text)) {
        for (const auto& e : catalogue.ports())
            if (e.number == *n)
                return canonical(e.device);
        return std::nullopt;
    }
    const QString path = text.contains(QLatin1Char('/')) ? text : QStringLiteral("/dev/") + text;
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return std::nullopt;
    return canonical(path);
}

int ListedPortNumber(const PortCatalogue& catalogue, const QString& device)
{
    const QString target = canonical(device);
    for (const auto& e : catalogue.ports())
        if (canonical(e.device) == target)
            return e.number;
    return 0;
}

} // namespace qtx
