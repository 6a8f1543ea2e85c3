#include "ui/owned_dialog.h"

OwnedDialog::OwnedDialog(QWidget* owner) : QDialog(nullptr) {
    useOwnerWindow(this, owner);
}

void OwnedDialog::useOwnerWindow(QDialog* dialog, QWidget* owner) {
    QWidget* window = owner ? owner->window() : nullptr;
    dialog->setParent(window, dialog->windowFlags() | Qt::Dialog);
    dialog->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
}
