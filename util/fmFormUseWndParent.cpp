#include "util/fmFormUseWndParent.h"

TfrmFormUseWndParent::TfrmFormUseWndParent(QWidget* owner) : QDialog(nullptr) {
    UseWndParent(this, owner);
}

void TfrmFormUseWndParent::UseWndParent(QDialog* dialog, QWidget* owner) {
    QWidget* window = owner ? owner->window() : nullptr;
    dialog->setParent(window, dialog->windowFlags() | Qt::Dialog);
    dialog->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
}
