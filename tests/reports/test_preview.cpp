#include "ReportFixture.h"
