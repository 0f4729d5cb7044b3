#include "screens/fconfserv.h"

fconfserv::fconfserv(QWidget* parent) : Screen(parent) {}
