#pragma once

#include <QObject>
#include <string>

namespace netglobe {

// Hands messages to the desktop's notification service on the session bus.
// Calls never wait for an answer; when there is no bus or no service
// answers, the messages go nowhere and that is said once on stderr.
class DesktopNotifier : public QObject {
  Q_OBJECT

 public:
  explicit DesktopNotifier(QObject* parent = nullptr) : QObject(parent) {}

  // Off: nothing is sent at all (--quiet).
  void setenabled(bool on) { enabled_ = on; }
  // One notification; text in windows-1252.
  void notify(const std::string& text);

 private:
  void unavailable(const QString& why);

  bool enabled_ = true;
  bool toldunavailable_ = false;
};

}  // namespace netglobe
