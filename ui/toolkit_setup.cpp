// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit_setup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/accessible_label.h"

bool PrepareApplication(QCoreApplication& application) {
    InstallAccessibleLabels();
    // The window is Japanese on every desktop, so its dialogs are too; Debian's
    // qt6-translations-l10n puts qtbase_ja.qm in Qt's translations folder.
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
