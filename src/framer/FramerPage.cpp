#include "framer/FramerPage.h"

#include "framer/FramerProfile.h"
#include "framer/PageScript.h"

#include <QWebEngineCertificateError>

FramerPage::FramerPage(FramerProfile &profile, QObject *parent)
    : QWebEnginePage(&profile.profile(), parent), m_script(new PageScript(*this))
{
    const FramerWebRoutes routes = profile.routes();
    connect(this, &QWebEnginePage::certificateError, this,
            [routes](const QWebEngineCertificateError &error) {
                QWebEngineCertificateError decision = error;
                if (routes.acceptsCertificateFor(error.url().host()))
                    decision.acceptCertificate();
                else
                    decision.rejectCertificate();
            });
}
