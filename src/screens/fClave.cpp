#include "screens/fClave.h"

fClave::fClave(QWidget* parent) : Screen(parent) {}
