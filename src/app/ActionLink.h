#pragma once
// Binds a client (a menu entry or a button) to an action, the way the form designer binds them:
// on linking the client takes the action's caption, hint, enabled state and shortcut; running
// the client runs the action; and a later change of one of those properties of the action
// reaches the client only while the client still shows the action's old value. So a menu entry
// that UpdateMenuStates switched on its own keeps its own state until it agrees with its action
// again, and a client captioned differently keeps its caption.
//
// The link lives as a child of the client. Main thread only.
#include <QAction>
#include <QAbstractButton>

namespace pellucor::app {

enum class LinkCaption { FromAction, KeepOwn };

void LinkAction(QAction* action, QAction* client, LinkCaption caption = LinkCaption::FromAction);
void LinkAction(QAction* action, QAbstractButton* client, LinkCaption caption = LinkCaption::FromAction);

} // namespace pellucor::app
