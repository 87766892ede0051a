#pragma once
// The operator's login check against the rows of cdsPriemschikLU.
#include <QString>

class TClientDataSet;

enum class TLoginResult {
    Ok,             // GL holds the operator, role and rights
    UserNotFound,   // "Не найден пользователь"
    WrongPassword,  // "Неверный пароль"
};

// The message a refused login shows (empty for Ok).
QString LoginMessage(TLoginResult result);

// Checks the password of operator `operatorId` exactly (case matters, nothing
// trimmed); `hasOperator` false means no operator was picked. On success sets
// GL.OperatorID, the role name and the ten rights ("-" and rights unchanged
// when the row cannot be found again).
TLoginResult CheckOperatorLogin(TClientDataSet& operators, bool hasOperator, int operatorId,
                                const QString& password);
