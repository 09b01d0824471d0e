// udisks2 over QtDBus.
#include "desktop/UDisksUnmountService.h"

#include <QAtomicInt>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>

#include <cstdlib>
#include <filesystem>

namespace twr::desktop {

namespace {

constexpr const char* kBlockObjects = "/org/freedesktop/UDisks2/block_devices/";
constexpr const char* kBlockInterface = "org.freedesktop.UDisks2.Block";
constexpr const char* kFilesystemInterface = "org.freedesktop.UDisks2.Filesystem";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
constexpr int kPropertyTimeoutMs = 10000;
// The user may take a while to answer the desktop's authorisation dialog.
constexpr int kUnmountTimeoutMs = 120000;

// The object path udisks2 gives a block device: its kernel name, with every
// character outside [A-Za-z0-9] written as _XX (hex).
QString ObjectPathOf(const std::string& kernelName) {
  QString path = QString::fromLatin1(kBlockObjects);
  for (unsigned char c : kernelName) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
      path += QLatin1Char(static_cast<char>(c));
    else
      path += QStringLiteral("_%1").arg(c, 2, 16, QLatin1Char('0'));
  }
  return path;
}

UnmountResult FromError(const QDBusMessage& reply) {
  const QString name = reply.errorName();
  UnmountResult result;
  result.detail = reply.errorMessage().toStdString();
  if (name == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
      name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
      name.startsWith(QLatin1String("org.freedesktop.DBus.Error.Spawn")))
    result.outcome = UnmountOutcome::NoService;
  else if (name.startsWith(QLatin1String("org.freedesktop.UDisks2.Error.NotAuthorized")) ||
           name == QLatin1String("org.freedesktop.DBus.Error.AccessDenied"))
    result.outcome = UnmountOutcome::NotAllowed;
  else if (name == QLatin1String("org.freedesktop.UDisks2.Error.DeviceBusy"))
    result.outcome = UnmountOutcome::Busy;
  else if (name == QLatin1String("org.freedesktop.UDisks2.Error.NotMounted"))
    result.outcome = UnmountOutcome::NotMounted;
  else
    result.outcome = UnmountOutcome::Failed;
  return result;
}

// A connection of its own for every unmount: it may be asked from any thread.
class Bus {
 public:
  explicit Bus(const std::string& address) {
    static QAtomicInt counter;
    if (address.empty()) {
      connection_ = QDBusConnection::systemBus();
    } else if (address == "session") {
      connection_ = QDBusConnection::sessionBus();
    } else {
      name_ = QStringLiteral("twr-udisks-%1").arg(counter.fetchAndAddRelaxed(1));
      connection_ = QDBusConnection::connectToBus(QString::fromStdString(address), name_);
    }
  }
  ~Bus() {
    if (!name_.isEmpty()) QDBusConnection::disconnectFromBus(name_);
  }
  Bus(const Bus&) = delete;
  Bus& operator=(const Bus&) = delete;
  QDBusConnection& Connection() { return connection_; }

 private:
  QString name_;
  QDBusConnection connection_{QString()};
};

}  // namespace

UDisksUnmountService::UDisksUnmountService(std::string busAddress)
    : busAddress_(std::move(busAddress)) {}

UnmountResult UDisksUnmountService::Unmount(const std::string& node) {
  UnmountResult result;
  Bus bus(busAddress_);
  QDBusConnection& connection = bus.Connection();
  if (!connection.isConnected()) {
    result.outcome = UnmountOutcome::NoService;
    result.detail = connection.lastError().message().toStdString();
    return result;
  }
  // /dev/cdrom and the like name the node they link to.
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(node, ec);
  const std::string device = ec ? node : real.string();
  const QString path = ObjectPathOf(std::filesystem::path(device).filename().string());

  QDBusMessage get =
      QDBusMessage::createMethodCall(QString::fromLatin1(kUDisksService), path,
                                     QString::fromLatin1(kProperties), QStringLiteral("Get"));
  get << QString::fromLatin1(kBlockInterface) << QStringLiteral("Device");
  const QDBusMessage known = connection.call(get, QDBus::Block, kPropertyTimeoutMs);
  if (known.type() == QDBusMessage::ErrorMessage) {
    result = FromError(known);
    if (result.outcome != UnmountOutcome::NoService) {
      result.outcome = UnmountOutcome::Failed;
      result.detail = "udisks2 does not know " + device;
    }
    return result;
  }
  // Block.Device is a byte string ending in a NUL.
  QByteArray named;
  if (!known.arguments().isEmpty())
    named = known.arguments().front().value<QDBusVariant>().variant().toByteArray();
  if (named.endsWith('\0')) named.chop(1);
  if (named.toStdString() != device) {
    result.outcome = UnmountOutcome::Failed;
    result.detail = "udisks2's object " + path.toStdString() + " is not " + device;
    return result;
  }

  QDBusMessage unmount = QDBusMessage::createMethodCall(QString::fromLatin1(kUDisksService), path,
                                                        QString::fromLatin1(kFilesystemInterface),
                                                        QStringLiteral("Unmount"));
  QVariantMap options;
  options.insert(QStringLiteral("auth.no_user_interaction"), false);
  unmount << options;
  unmount.setInteractiveAuthorizationAllowed(true);
  const QDBusMessage reply = connection.call(unmount, QDBus::Block, kUnmountTimeoutMs);
  if (reply.type() == QDBusMessage::ErrorMessage) return FromError(reply);
  result.outcome = UnmountOutcome::Unmounted;
  return result;
}

std::unique_ptr<UnmountService> MakeUnmountService() {
  const char* bus = std::getenv(kUDisksBusVariable);
  return std::make_unique<UDisksUnmountService>(bus ? std::string(bus) : std::string());
}

}  // namespace twr::desktop
