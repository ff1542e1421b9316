#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The native side of the ribs page: turns the five parameters into the
// page's script and decides when it runs. Before the page has loaded only
// the latest script is kept; it runs once the load finishes. When the page
// goes away (it exists only while needed) the current state waits for the
// next one.
class RibsHost : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString color READ color WRITE setColor NOTIFY paramsChanged)
    Q_PROPERTY(double reach READ reach WRITE setReach NOTIFY paramsChanged)
    Q_PROPERTY(double vreach READ vreach WRITE setVreach NOTIFY paramsChanged)
    Q_PROPERTY(bool shown READ shown WRITE setShown NOTIFY paramsChanged)
    Q_PROPERTY(QString extra READ extra WRITE setExtra NOTIFY paramsChanged)
    Q_PROPERTY(QString script READ script NOTIFY paramsChanged)
    Q_PROPERTY(bool loaded READ loaded NOTIFY loadedChanged)

public:
    explicit RibsHost(QObject *parent = nullptr);

    QString color() const { return m_color; }
    void setColor(const QString &color) { change(m_color, color); }
    double reach() const { return m_reach; }
    void setReach(double reach) { change(m_reach, reach); }
    double vreach() const { return m_vreach; }
    void setVreach(double vreach) { change(m_vreach, vreach); }
    bool shown() const { return m_shown; }
    void setShown(bool shown) { change(m_shown, shown); }
    QString extra() const { return m_extra; }
    void setExtra(const QString &extra) { change(m_extra, extra); }

    QString script() const;
    bool loaded() const { return m_loaded; }
    const std::optional<QString> &pending() const { return m_pending; }

    // Runs `script` now when the page is loaded, else keeps it as the pending one.
    Q_INVOKABLE void run(const QString &script);
    // The page finished loading (ok) or failed; a pending script runs now.
    Q_INVOKABLE void pageLoaded(bool ok);
    // The page was destroyed: the next one starts from the current state.
    Q_INVOKABLE void pageGone();

Q_SIGNALS:
    void paramsChanged();
    void loadedChanged();
    // The view evaluates this in the page, ignoring the result.
    void evaluate(const QString &script);

private:
    template <typename T>
    void change(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        Q_EMIT paramsChanged();
        run(script());
    }

    QString m_color = QStringLiteral("#ffe03a");
    double m_reach = 0.36;
    double m_vreach = 0.7;
    bool m_shown = false;
    QString m_extra;
    bool m_loaded = false;
    std::optional<QString> m_pending;
};
