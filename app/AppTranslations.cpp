// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppTranslations.h"

#include "app/MessageLanguages.h"
#include "base/NumberFormat.h"
#include "base/ResourcesDirectory.h"
#include "base/Translate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace velmora {
namespace {

std::string translatedByQt(const char* context, const char* source, const char* disambiguation,
                           int n) {
    return QCoreApplication::translate(context, source, disambiguation, n).toStdString();
}

// Figures as the desktop's locale writes them ("1,5" in German), without group separators as
// the English texts have none.
std::string formattedByQt(double value, int decimals) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals).toStdString();
}

// Loads `file` and installs it into the application, which owns it from then on.
bool installCatalogue(const QString& file) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!QFileInfo::exists(file) || !translator->load(file) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace

QString translationsFolder() {
    return QString::fromStdString((resourcesDirectory() / "translations").string());
}

QString installTranslations(const Environment& environment, const QString& folder) {
    for (const auto& name : messageLanguages(environment)) {
        const QString language = QString::fromStdString(name);
        if (!installCatalogue(
                QDir(folder).filePath(QStringLiteral("velmora_%1.qm").arg(language)))) {
            continue;
        }
        installCatalogue(QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath))
                             .filePath(QStringLiteral("qtbase_%1.qm").arg(language)));
        setTranslator(&translatedByQt);
        setNumberFormatter(&formattedByQt);
        return language;
    }
    return {};
}

} // namespace velmora
