#include "books/core/CsvQuestions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace books::csv {

QString ExchangeCaption(bool import) {
    return import ? QStringLiteral("Импорт справочника") : QStringLiteral("Экспорт справочника");
}

QString ExchangeButton(bool import) { return import ? QStringLiteral("Импорт") : QStringLiteral("Экспорт"); }

QString FileLabel(bool import, const QString& what) {
    const QString file = import ? QStringLiteral("Файл-источник") : QStringLiteral("Выходной файл");
    return what.isEmpty() ? file : file + QStringLiteral(" - ") + what;
}

QString ProposedExportPath(const QString& fileName) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(fileName);
}

FilesCheck CheckFiles(const QStringList& names, const QString& separator, bool import) {
    FilesCheck check;
    for (const QString& name : names) {
        if (!name.isEmpty()) continue;
        if (names.size() == 1)
            check.warning = import ? QStringLiteral("Введите имя файла для импорта")
                                   : QStringLiteral("Введите имя файла для экспорта");
        else
            check.warning = import ? QStringLiteral("Введите имена файлов для импорта")
                                   : QStringLiteral("Введите имена файлов для экспорта");
        return check;
    }
    try {
        CheckSeparator(separator);
    } catch (const ECsvError& e) {
        check.warning = e.message();
        check.separatorMissing = true;
        return check;
    }
    for (const QString& name : names) {
        if (import && !QFileInfo(name).isFile()) {
            check.warning = QStringLiteral("Файл ") + name + QStringLiteral(" не найден.");
            return check;
        }
        if (!import && QFileInfo::exists(name))
            check.overwriteQuestions << QStringLiteral("Файл ") + name + QStringLiteral(" существует. Перезаписать его?");
    }
    return check;
}

QString NotEmptyQuestion() {
    return QStringLiteral(
        "Справочник не пуст.\rПри импорте данных в непустой справочник возможны конфликты с имеющимися данными.\r"
        "Перед импортом справочник рекомендуется очистить.\r\rВы все-таки хотите продолжить импорт?");
}

QString SeparatorQuestionText(int ordinal, const QString& value) {
    return QStringLiteral("В строке с порядковым номером ") + QString::number(ordinal) + QStringLiteral(", в поле \"") +
           value + QStringLiteral("\"содержится симол, совпадающий с выбранным символом-разделителем.") +
           QStringLiteral("\rЭто может привести впоследствии к ошибкам при импорте.") +
           QStringLiteral("\rПродолжить экспорт?");
}

OutcomeBox ExportOutcomeBox(const CsvOutcome& outcome) {
    if (outcome.kind == CsvOutcome::Done) return OutcomeBox::Info;
    if (outcome.kind == CsvOutcome::Refused) return OutcomeBox::Stop;
    return OutcomeBox::None;
}

OutcomeBox ImportOutcomeBox(const CsvOutcome& outcome) {
    return outcome.kind == CsvOutcome::Refused ? OutcomeBox::Stop : OutcomeBox::Info;
}

bool TreeBookRereads(const CsvOutcome& outcome) { return outcome.kind != CsvOutcome::NotStored; }

}  // namespace books::csv
