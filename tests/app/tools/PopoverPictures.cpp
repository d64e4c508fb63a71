// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the popover with an incident and the detail of its suspect, from an answer the
// monitor's own composition makes (codes and all), at the popover's real width of 448 pixels and
// twice the pixel density, light and dark, in the desktop's language (LANG, LANGUAGE).
// Usage: app_popover_pictures <output dir>
//
// Files: popover-incident-<language>-<look> and detail-<language>-<look>, the look light or
// dark as the gallery names it: LANG=de_DE.UTF-8 gives popover-incident-de-light.png. An
// English desktop leaves the language out.
#include "../ComposedSnapshot.h"
#include "app/AppTranslations.h"
#include "views/kit/VelmoraPalette.h"
#include "views/popover/PopoverHost.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <cstdio>

using namespace velmora;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString language = installTranslations(processEnvironment(), translationsFolder());
    const QDir directory(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    int failures = 0;
    for (const bool dark : {false, true}) {
        VelmoraPalette::setDark(dark);
        const QString suffix = (language.isEmpty() ? QString() : QLatin1Char('-') + language) +
                               (dark ? QStringLiteral("-dark") : QStringLiteral("-light"));
        for (const bool detail : {false, true}) {
            PopoverRenderState state;
            state.snapshot = testing::composedSnapshot(testing::Session::leaking, detail);
            PopoverHost host;
            host.present(state);
            const QString path = directory.filePath(
                (detail ? QStringLiteral("detail") : QStringLiteral("popover-incident")) + suffix +
                QStringLiteral(".png"));
            if (!host.grabPopover(2).save(path)) {
                std::fprintf(stderr, "app_popover_pictures: cannot write %s\n", qPrintable(path));
                ++failures;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
