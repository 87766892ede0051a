#include "data/DataErrors.h"

#include "fb/DbError.h"

#include <QDebug>

EDatabaseError::EDatabaseError(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message) {}

EFieldRequired::EFieldRequired(const QString& fieldTitle)
    : EDatabaseError(QStringLiteral("Field '") + fieldTitle + QStringLiteral("' must have a value")),
      m_title(fieldTitle) {}

ERecordChanged::ERecordChanged() : EDatabaseError(text()) {}

ERecordAmbiguous::ERecordAmbiguous(qint64 rows)
    : EDatabaseError(QStringLiteral("Изменение не сохранено: в таблице найдено %1 одинаковых записей вместо одной")
                         .arg(rows)) {}

EConvertError::EConvertError(const QString& message)
    : std::invalid_argument(message.toStdString()), m_message(message) {}

bool isDatabaseError(const std::exception& e) {
    return dynamic_cast<const fb::DbError*>(&e) != nullptr ||
           dynamic_cast<const EDatabaseError*>(&e) != nullptr;
}

bool isDatabaseError(const std::exception_ptr& e) {
    if (!e) return false;
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& ex) {
        return isDatabaseError(ex);
    } catch (...) {
        return false;
    }
}

QString errorMessage(const std::exception& e) {
    if (auto* db = dynamic_cast<const fb::DbError*>(&e)) return db->message();
    if (auto* de = dynamic_cast<const EDatabaseError*>(&e)) return de->message();
    if (auto* ce = dynamic_cast<const EConvertError*>(&e)) return ce->message();
    return QString::fromUtf8(e.what());
}

QString errorMessage(const std::exception_ptr& e) {
    if (!e) return QString();
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& ex) {
        return errorMessage(ex);
    } catch (...) {
        return QStringLiteral("Неизвестная ошибка");
    }
}

namespace {
TUiErrorHandler& uiErrorHandler() {
    static TUiErrorHandler handler;
    return handler;
}
}  // namespace

void setUiErrorHandler(TUiErrorHandler handler) { uiErrorHandler() = std::move(handler); }

void handleUiError(std::exception_ptr error) {
    if (!error) return;
    if (uiErrorHandler()) {
        uiErrorHandler()(error);
        return;
    }
    qWarning().noquote() << errorMessage(error);
}
