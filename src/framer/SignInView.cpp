#include "framer/SignInView.h"

#include "framer/SignInPage.h"
#include "framer/SignInWindow.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace {

QLabel *label(const QString &text, int pixelSize, bool strong, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont font = l->font();
    font.setPixelSize(pixelSize);
    font.setWeight(strong ? QFont::DemiBold : QFont::Normal);
    l->setFont(font);
    l->setWordWrap(true);
    return l;
}

}

SignInView::SignInView(SignInWindow &model, FramerProfile &profile)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_model(model), m_web(new QWebEngineView(this)), m_page(new SignInPage(profile, this)),
      m_helper(new QFrame(this)), m_helperText(label({}, 12, false, m_helper))
{
    setWindowTitle(SignInWindow::title());
    setFixedSize(SignInWindow::size);
    m_web->setPage(m_page);
    m_web->setGeometry(rect());

    m_helper->setObjectName(QStringLiteral("helper"));
    m_helper->setStyleSheet(
        QStringLiteral("#helper { background: palette(window); border-radius: 12px; }"));
    m_helperText->setForegroundRole(QPalette::PlaceholderText);
    auto *stack = new QVBoxLayout(m_helper);
    stack->setContentsMargins(16, 14, 16, 14);
    stack->setSpacing(4);
    stack->addWidget(label(SignInWindow::helperTitle(), 13, true, m_helper));
    stack->addWidget(m_helperText);
    connect(&model, &SignInWindow::helperChanged, this, &SignInView::showHelper);
    showHelper();
}

SignInView::~SignInView()
{
    // The page goes before the view that shows it, and both before the profile.
    delete m_web;
    delete m_page;
}

void SignInView::showHelper()
{
    m_helperText->setText(m_model.helperText());
    m_helper->setVisible(m_model.helperVisible());
    placeHelper();
}

void SignInView::placeHelper()
{
    const int width = this->width() - 40;
    const int height = m_helper->layout()->heightForWidth(width);
    m_helper->setGeometry(20, this->height() - 20 - height, width, height);
}

void SignInView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_web->setGeometry(rect());
    placeHelper();
}

void SignInView::closeEvent(QCloseEvent *event)
{
    event->accept();
    Q_EMIT closed();
}
