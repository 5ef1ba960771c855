#pragma once
// A second start on a locked settings file asks the window that owns it to come to the front, so
// the user sees the window already open instead of only a message.
#include <QString>

class QWidget;

namespace kelmar::ui {

// While this window owns the lock at `lock_path`, later starts on the same file may bring it to
// the front. Without a channel the window works all the same.
void ListenForFrontRequests(const QString& lock_path, QWidget* window);

// Asks the owner of the lock at `lock_path` to come to the front. Returns at once when none
// listens; never waits more than a fraction of a second.
void AskOwnerToComeToFront(const QString& lock_path);

}  // namespace kelmar::ui
