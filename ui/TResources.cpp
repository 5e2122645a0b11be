#include "ui/TResources.h"

#include <QtGlobal>

void InitResources() {
    Q_INIT_RESOURCE(lbsys);
    Q_INIT_RESOURCE(help);
}
