#include "util/fmFormUseWndParent.h"

TfrmFormUseWndParent::TfrmFormUseWndParent(QWidget* owner) : QDialog(owner) {}
