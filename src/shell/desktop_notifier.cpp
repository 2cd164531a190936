#include "shell/desktop_notifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>

#include "shell/options.h"
#include "shell/record_text.h"

namespace netglobe {
namespace {

constexpr int kShownMs = 8000;

}  // namespace

void DesktopNotifier::notify(const std::string& text) {
  if (!enabled_) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    unavailable(QStringLiteral("no session bus"));
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  call << QString::fromLatin1(kProductTitle) << 0u << QStringLiteral("netglobe") << fromrecord(text)
       << QString() << QStringList() << QVariantMap() << kShownMs;
  // The window never waits on the bus: the answer, or its absence, comes
  // back as an event.
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* done) {
    const QDBusPendingReply<unsigned> reply = *done;
    if (reply.isError()) unavailable(reply.error().message());
    done->deleteLater();
  });
}

void DesktopNotifier::unavailable(const QString& why) {
  if (toldunavailable_) return;
  toldunavailable_ = true;
  std::fprintf(stderr, "netglobe: no desktop notifications (%s); friends online are named in the status line only\n",
               why.toLocal8Bit().constData());
}

}  // namespace netglobe
