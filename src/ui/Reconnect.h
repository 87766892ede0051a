#pragma once
// A save that failed because the connection to the database was lost: the
// user is told so, the window keeps its changes, and the connection can be
// opened again at once to the same database (the datasets keep their rows
// and pending changes), after which the user saves again.
#include <exception>

// True when `error` was the loss of the connection (and it has been handled:
// the user was told and, if they wished, the connection was restored).
bool HandleConnectionLost(const std::exception_ptr& error);
