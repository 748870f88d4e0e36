#include "app/ActionLink.h"

#include <QKeySequence>

namespace pellucor::app {
namespace {

// The action's properties as they were at the last change the link saw.
struct Seen {
    QString text;
    QString toolTip;
    bool enabled = true;
    QKeySequence shortcut;
};

Seen Snapshot(const QAction* action) {
    return {action->text(), action->toolTip(), action->isEnabled(), action->shortcut()};
}

// A QObject that dies with the client and carries the last snapshot.
class Link : public QObject {
public:
    Link(QObject* client, const QAction* action) : QObject(client), seen(Snapshot(action)) {}
    Seen seen;
};

} // namespace

void LinkAction(QAction* action, QAction* client, LinkCaption caption) {
    if (caption == LinkCaption::FromAction) client->setText(action->text());
    client->setToolTip(action->toolTip());
    client->setEnabled(action->isEnabled());
    client->setShortcut(action->shortcut());
    auto* link = new Link(client, action);
    QObject::connect(action, &QAction::changed, link, [action, client, link] {
        const Seen now = Snapshot(action);
        Seen& old = link->seen;
        if (now.text != old.text && client->text() == old.text) client->setText(now.text);
        if (now.toolTip != old.toolTip && client->toolTip() == old.toolTip) client->setToolTip(now.toolTip);
        if (now.enabled != old.enabled && client->isEnabled() == old.enabled) client->setEnabled(now.enabled);
        if (now.shortcut != old.shortcut && client->shortcut() == old.shortcut) client->setShortcut(now.shortcut);
        old = now;
    });
    QObject::connect(client, &QAction::triggered, action, [action] {
        if (action->isEnabled()) action->trigger();  // a disabled action does not run
    });
}

void LinkAction(QAction* action, QAbstractButton* client, LinkCaption caption) {
    if (caption == LinkCaption::FromAction) client->setText(action->text());
    client->setToolTip(action->toolTip());
    client->setEnabled(action->isEnabled());
    auto* link = new Link(client, action);
    QObject::connect(action, &QAction::changed, link, [action, client, link] {
        const Seen now = Snapshot(action);
        Seen& old = link->seen;
        if (now.text != old.text && client->text() == old.text) client->setText(now.text);
        if (now.toolTip != old.toolTip && client->toolTip() == old.toolTip) client->setToolTip(now.toolTip);
        if (now.enabled != old.enabled && client->isEnabled() == old.enabled) client->setEnabled(now.enabled);
        old = now;
    });
    QObject::connect(client, &QAbstractButton::clicked, action, [action] {
        if (action->isEnabled()) action->trigger();  // a disabled action does not run
    });
}

} // namespace pellucor::app
