#include "shell/UpdatePrompt.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

namespace UpdatePrompt {

QCoro::Task<> checkAndTell(Updates &updates)
{
    const Updates::Result result = co_await updates.check();
    auto *box = new QMessageBox;
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(QStringLiteral("Check for Updates"));
    box->setText(result.message);
    box->setIcon(result.kind == Updates::Result::Kind::Failed ? QMessageBox::Warning
                                                              : QMessageBox::Information);
    if (result.kind == Updates::Result::Kind::Available) {
        QPushButton *open =
            box->addButton(QStringLiteral("Open Download Page"), QMessageBox::AcceptRole);
        box->addButton(QStringLiteral("Not Now"), QMessageBox::RejectRole);
        QObject::connect(open, &QPushButton::clicked, box,
                         [page = result.page] { QDesktopServices::openUrl(page); });
    } else {
        box->addButton(QMessageBox::Ok);
    }
    // Shown without a nested event loop, in front of other applications.
    box->open();
    box->raise();
    box->activateWindow();
}

}
