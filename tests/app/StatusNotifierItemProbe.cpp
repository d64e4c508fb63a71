// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusNotifierItemProbe.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDateTime>

namespace velmora::testing {
namespace {

const QString itemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString menuInterface = QStringLiteral("com.canonical.dbusmenu");

// An icon of the item's type a(iiay): every size's pixels, one after the other.
QByteArray readPixmaps(const QDBusArgument& argument) {
    QByteArray pixels;
    argument.beginArray();
    while (!argument.atEnd()) {
        int width = 0;
        int height = 0;
        QByteArray bytes;
        argument.beginStructure();
        argument >> width >> height >> bytes;
        argument.endStructure();
        pixels += bytes;
    }
    argument.endArray();
    return pixels;
}

// A menu layout of type (ia{sv}av), its children being layouts of the same type.
void readLayout(const QDBusArgument& argument, std::vector<StatusNotifierMenuEntry>& entries) {
    int id = 0;
    QVariantMap properties;
    argument.beginStructure();
    argument >> id >> properties;
    const QString label = properties.value(QStringLiteral("label")).toString();
    if (!label.isEmpty()) {
        entries.push_back({id, label});
    }
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        readLayout(child.variant().value<QDBusArgument>(), entries);
    }
    argument.endArray();
    argument.endStructure();
}

} // namespace

StatusNotifierItemProbe::StatusNotifierItemProbe(QDBusConnection bus) : bus_(std::move(bus)) {
    bus_.connect(QString(), QString(), itemInterface, QStringLiteral("NewToolTip"), this,
                 SLOT(onNewToolTip()));
    bus_.connect(QString(), QString(), itemInterface, QStringLiteral("NewIcon"), this,
                 SLOT(onNewIcon()));
}

void StatusNotifierItemProbe::setItem(const QString& item) {
    const qsizetype slash = item.indexOf(QLatin1Char('/'));
    service_ = item.left(slash);
    path_ = item.mid(slash);
}

std::optional<QVariant> StatusNotifierItemProbe::property(const QString& name) const {
    QDBusMessage get = QDBusMessage::createMethodCall(
        service_, path_, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << itemInterface << name;
    const QDBusReply<QDBusVariant> reply = bus_.call(get, QDBus::Block, 3000);
    if (!reply.isValid()) {
        return std::nullopt;
    }
    return reply.value().variant();
}

QDBusMessage StatusNotifierItemProbe::callMenu(const QString& method,
                                               const QVariantList& arguments) const {
    const auto menuPath = property(QStringLiteral("Menu"));
    if (!menuPath) {
        return QDBusMessage::createError(QStringLiteral("org.freedesktop.DBus.Error.Failed"),
                                         QStringLiteral("the item has no menu"));
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        service_, menuPath->value<QDBusObjectPath>().path(), menuInterface, method);
    call.setArguments(arguments);
    return bus_.call(call, QDBus::Block, 3000);
}

QString StatusNotifierItemProbe::toolTip() const {
    const auto value = property(QStringLiteral("ToolTip"));
    if (!value || !value->canConvert<QDBusArgument>()) {
        return {};
    }
    const auto argument = value->value<QDBusArgument>();
    QString iconName;
    QString title;
    QString description;
    argument.beginStructure();
    argument >> iconName;
    readPixmaps(argument);
    argument >> title >> description;
    argument.endStructure();
    return title + QLatin1Char('\n') + description;
}

QByteArray StatusNotifierItemProbe::iconPixels() const {
    const auto value = property(QStringLiteral("IconPixmap"));
    if (!value || !value->canConvert<QDBusArgument>()) {
        return {};
    }
    return readPixmaps(value->value<QDBusArgument>());
}

bool StatusNotifierItemProbe::activate() const {
    QDBusMessage call =
        QDBusMessage::createMethodCall(service_, path_, itemInterface, QStringLiteral("Activate"));
    call << 0 << 0;
    return bus_.call(call, QDBus::Block, 3000).type() == QDBusMessage::ReplyMessage;
}

std::vector<StatusNotifierMenuEntry> StatusNotifierItemProbe::menu() const {
    std::vector<StatusNotifierMenuEntry> entries;
    const QDBusMessage reply = callMenu(QStringLiteral("GetLayout"), {0, -1, QStringList()});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2) {
        return entries;
    }
    readLayout(reply.arguments().at(1).value<QDBusArgument>(), entries);
    return entries;
}

std::optional<int> StatusNotifierItemProbe::menuEntryId(const QString& label) const {
    for (const auto& entry : menu()) {
        if (entry.label == label) {
            return entry.id;
        }
    }
    return std::nullopt;
}

bool StatusNotifierItemProbe::clickMenuEntry(int id) const {
    const QDBusMessage reply =
        callMenu(QStringLiteral("Event"),
                 {id, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)),
                  static_cast<uint>(QDateTime::currentSecsSinceEpoch())});
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace velmora::testing
