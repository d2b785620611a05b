#pragma once
// The serial ports offered to the user as "COM" + number, with numbers that
// stay the same across runs: /dev/ttyS<k> is COM(k+1), /dev/ttyUSB<k> is
// COM(k+33), /dev/ttyACM<k> is COM(k+65). Entries of the [ports] section of
// mysetup.ini ("COM99=/path/to/device") add devices of any other kind, such
// as a simulated radio on a pseudo-terminal, or give a device another
// number.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace qtx {

struct PortEntry {
    int number = 0;  // the COM number
    QString name;    // "COM" + number
    QString device;  // the device path, as listed or as configured
};

inline constexpr int kMaxPortNumber = 32767;

// The number a device has by the fixed pattern; 0 for any other device.
int PatternPortNumber(const QString& device);
// The device that the fixed pattern gives a number; empty when none does.
QString PatternPortDevice(int number);

class PortCatalogue {
public:
    using DeviceLister = std::function<QStringList()>;

    // `configuredPorts` is the [ports] section as read: key "COMn" (any
    // letter case), value the device path. Other keys are skipped.
    explicit PortCatalogue(const QMap<QString, QString>& configuredPorts = {});
    // The same from entries already read as COM numbers.
    static PortCatalogue FromNumbers(const QMap<int, QString>& configuredPorts);

    // Where the system's serial devices come from (QSerialPortInfo unless
    // replaced, e.g. by tests).
    void setDeviceLister(DeviceLister lister) { lister_ = std::move(lister); }
    // The configured entries that were accepted, by number.
    const QMap<int, QString>& configuredPorts() const { return configured_; }

    // Every port present now, ascending by number. A configured device is
    // listed when its path exists; when it is one of the system's devices,
    // it is listed under the configured number only.
    QList<PortEntry> ports() const;

private:
    QMap<int, QString> configured_;
    DeviceLister lister_;
};

// Fills `list` with the ports present now and returns the number of the
// first, 0 when there is none.
int FillPortList(const PortCatalogue& catalogue, QList<PortEntry>& list);
// Whether port `number` is present now.
bool IsPortListed(const PortCatalogue& catalogue, int number);
// The number of the first port present now, 0 when there is none.
int FirstListedPort(const PortCatalogue& catalogue);

// The device to open for "COMn" (a port present now) or for a device path
// (a symbolic link is followed; a bare name like "ttyUSB0" means /dev/...).
// None when there is no such port or device.
std::optional<QString> ResolvePortDevice(const PortCatalogue& catalogue, const QString& nameOrPath);
// The COM number under which a device is listed now; 0 when it is not.
int ListedPortNumber(const PortCatalogue& catalogue, const QString& device);

} // namespace qtx
