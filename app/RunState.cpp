#include "app/RunState.h"

bool ContinueWriting = false;
bool AutoRun = false;
QString AutoRunOutputPath;
