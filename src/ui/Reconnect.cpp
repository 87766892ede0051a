#include "ui/Reconnect.h"

#include "ui/MessageBoxes.h"
#include "data/DataErrors.h"
#include "data/DataModule.h"
#include "data/SaveRetry.h"

bool HandleConnectionLost(const std::exception_ptr& error) {
    if (!isConnectionLost(error) || !DMExists()) return false;
    const int answer = TitledMessageBox(
        QStringLiteral("Соединение с базой данных потеряно (сервер перезапущен или недоступна сеть).\r"
                       "Изменения не сохранены, но остались на экране.\r\r"
                       "Восстановить соединение сейчас?"),
        mbQuestionYesNo);
    if (answer != idYes) return true;
    try {
        DM().reconnect();
    } catch (...) {
        TitledMessageBox(QStringLiteral("Не удалось восстановить соединение с базой данных:\r") +
                             errorMessage(std::current_exception()) +
                             QStringLiteral("\r\rИзменения остались на экране; повторите сохранение позже."),
                         mbStopOk);
        return true;
    }
    TitledMessageBox(QStringLiteral("Соединение с базой данных восстановлено.\rСохраните изменения ещё раз."),
                     mbInfoOk);
    return true;
}
