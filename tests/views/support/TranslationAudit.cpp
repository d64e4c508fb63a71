// SPDX-License-Identifier: GPL-3.0-or-later
#include "TranslationAudit.h"

#include "LayoutAudit.h"
#include "views/kit/VelmoraText.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTextDocumentFragment>
#include <algorithm>

namespace velmora::testing {
namespace {

// `text` without its bracketed spans (nested ones included: a translated text may hold another).
QString outsideBrackets(const QString& text) {
    QString rest;
    int depth = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('[')) {
            ++depth;
        } else if (c == QLatin1Char(']') && depth > 0) {
            --depth;
        } else if (depth == 0) {
            rest += c;
        }
    }
    return rest;
}

// The texts a widget shows, as it was given them (before elision or case changes).
QStringList shownTexts(const QWidget* widget) {
    QStringList texts;
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        texts << (label->textFormat() == Qt::PlainText
                      ? label->text()
                      : QTextDocumentFragment::fromHtml(label->text()).toPlainText());
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        texts << button->text();
    } else if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget)) {
        texts << spin->text();
    } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        texts << group->title();
    } else if (const auto* tabs = qobject_cast<const QTabBar*>(widget)) {
        for (int index = 0; index < tabs->count(); ++index) {
            texts << tabs->tabText(index);
        }
    } else if (const auto* menu = qobject_cast<const QMenu*>(widget)) {
        for (const QAction* action : menu->actions()) {
            texts << action->text();
        }
    } else if (const auto* drawn = qobject_cast<const VelmoraText*>(widget)) {
        texts << drawn->text();
    }
    return texts;
}

} // namespace

bool isTranslated(const QString& text, const QStringList& asSent) {
    // What was sent goes first: it may hold brackets of its own ("/^[0-9a-f]/" in a command).
    QString rest = text;
    QStringList longestFirst = asSent;
    std::sort(longestFirst.begin(), longestFirst.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& sent : longestFirst) {
        if (!sent.isEmpty()) {
            rest.remove(sent);
        }
    }
    rest = outsideBrackets(rest);
    return std::none_of(rest.begin(), rest.end(), [](QChar c) { return c.isLetter(); });
}

std::vector<QString> untranslatedTexts(const QWidget* root, const QStringList& asSent) {
    std::vector<QString> findings;
    const auto check = [&](const QWidget* widget, const QString& text) {
        if (!isTranslated(text, asSent)) {
            findings.push_back(QStringLiteral("%1: \"%2\"").arg(widgetPath(widget, root), text));
        }
    };
    if (root->isWindow()) {
        check(root, root->windowTitle());
    }
    std::vector<const QWidget*> widgets{root};
    for (const QWidget* child : root->findChildren<QWidget*>()) {
        if (isShownUnder(child, root) || qobject_cast<const QMenu*>(child) != nullptr) {
            widgets.push_back(child);
        }
    }
    for (const QWidget* widget : widgets) {
        for (const QString& text : shownTexts(widget)) {
            check(widget, text);
        }
    }
    return findings;
}

} // namespace velmora::testing
