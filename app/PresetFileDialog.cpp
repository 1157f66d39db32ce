#include "app/PresetFileDialog.h"

#include <QDir>
#include <QFileDialog>

QString PresetFileDialog::ask(bool save, const QString &suggested)
{
    QFileDialog dialog(nullptr, save ? tr("导出预设") : tr("导入预设"), QDir::homePath(), tr("预设 (*.json)"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("json"));
    if (!suggested.isEmpty())
        dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
