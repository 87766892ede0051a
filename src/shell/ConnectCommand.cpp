#include "shell/ConnectCommand.h"

#include "shell/ConnectDB.h"

bool RunConnectCommand() {
    if (!ConnectToDatabase()) return false;
    return OpenConnectedSession();
}
