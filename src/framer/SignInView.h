#pragma once

#include <QWidget>

class FramerProfile;
class QLabel;
class QFrame;
class QWebEngineView;
class SignInPage;
class SignInWindow;

// The sign-in window on screen: Framer's page filling it and the hint bar
// above its bottom edge. It shows what the SignInWindow says and reports
// its closing; it decides nothing.
class SignInView : public QWidget {
    Q_OBJECT
public:
    SignInView(SignInWindow &model, FramerProfile &profile);
    ~SignInView() override;

    SignInPage *page() const { return m_page; }

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showHelper();
    void placeHelper();

    SignInWindow &m_model;
    QWebEngineView *m_web;
    SignInPage *m_page;
    QFrame *m_helper;
    QLabel *m_helperText;
};
