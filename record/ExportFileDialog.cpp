#include "record/ExportFileDialog.h"

#include <QFileDialog>

QString ExportFileDialog::ask(const QString &caption, const QString &filter)
{
    QFileDialog dialog(nullptr, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    for (const QString &nameFilter : dialog.nameFilters()) {
        if (nameFilter.trimmed() == QLatin1String("*.wav"))
            dialog.selectNameFilter(nameFilter);
    }
    dialog.setDefaultSuffix(QStringLiteral("wav"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString &chosen) { dialog.setDefaultSuffix(chosen.trimmed().mid(2)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
