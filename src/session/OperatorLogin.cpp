#include "session/OperatorLogin.h"

#include "session/Global.h"
#include "data/ClientDataSet.h"

QString LoginMessage(TLoginResult result) {
    switch (result) {
    case TLoginResult::UserNotFound: return QStringLiteral("Не найден пользователь");
    case TLoginResult::WrongPassword: return QStringLiteral("Неверный пароль");
    case TLoginResult::Ok: break;
    }
    return QString();
}

TLoginResult CheckOperatorLogin(TClientDataSet& operators, bool hasOperator, int operatorId,
                                const QString& password) {
    const QString id = QStringLiteral("ID");
    if (!hasOperator || !operators.isActive() || !operators.locate(id, operatorId)) return TLoginResult::UserNotFound;
    if (operators.fieldByName(QStringLiteral("PASSWD")).asString() != password) return TLoginResult::WrongPassword;

    GL.OperatorID = operatorId;
    if (!operators.locate(id, operatorId)) {
        GL.RoleName = QStringLiteral("-");
        return TLoginResult::Ok;
    }
    auto flag = [&operators](const char* column) {
        return FlagFromText(operators.fieldByName(QString::fromLatin1(column)).asString());
    };
    GL.RoleName = operators.fieldByName(QStringLiteral("ROLE_NAME")).asString();
    GL.OperatorName = operators.fieldByName(QStringLiteral("FIO")).asString();
    GL.ZakView = flag("ZAK_VIEW");
    GL.ZakInsert = flag("ZAK_INSERT");
    GL.ZakEdit = flag("ZAK_EDIT");
    GL.ZakDelete = flag("ZAK_DELETE");
    GL.SklView = flag("SKL_VIEW");
    GL.SklInsert = flag("SKL_INSERT");
    GL.SklEdit = flag("SKL_EDIT");
    GL.SklDelete = flag("SKL_DELETE");
    GL.DostupBook = flag("DOSTUP_BOOK");
    GL.DostupBookUser = flag("DOSTUP_BOOKUSER");
    return TLoginResult::Ok;
}
