// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reads and drives one StatusNotifierItem as a tray host does: its tooltip and icon, Activate,
// and its context menu (com.canonical.dbusmenu). It counts the NewToolTip and NewIcon signals
// of any item from the moment it is made, so none is missed before the item registers.

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

namespace velmora::testing {

struct StatusNotifierMenuEntry {
    int id = 0;
    QString label;
};

class StatusNotifierItemProbe : public QObject {
    Q_OBJECT
public:
    explicit StatusNotifierItemProbe(QDBusConnection bus);

    // The item to read, as the watcher lists it: "bus-name/object-path".
    void setItem(const QString& item);

    // The tooltip's title and description, joined by a line break; empty when unreadable.
    QString toolTip() const;
    // The pixels of every size of the icon, one after the other; empty when unreadable.
    QByteArray iconPixels() const;
    bool activate() const;
    // The menu's entries with a label, depth first; empty when unreadable.
    std::vector<StatusNotifierMenuEntry> menu() const;
    std::optional<int> menuEntryId(const QString& label) const;
    bool clickMenuEntry(int id) const;

    int toolTipChanges() const { return toolTipChanges_; }
    int iconChanges() const { return iconChanges_; }

private slots:
    void onNewToolTip() { ++toolTipChanges_; }
    void onNewIcon() { ++iconChanges_; }

private:
    std::optional<QVariant> property(const QString& name) const;
    // Calls `method` on the item's menu; an error message when the item has none.
    QDBusMessage callMenu(const QString& method, const QVariantList& arguments) const;

    QDBusConnection bus_;
    QString service_;
    QString path_;
    int toolTipChanges_ = 0;
    int iconChanges_ = 0;
};

} // namespace velmora::testing
