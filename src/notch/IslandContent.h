#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

// What the open island shows, supplied from outside the notch: the today
// dashboard and the share sheet, each a QML file loaded with its `model`
// property set, inside the island's expanded content area.
class IslandContent : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Supplied by the notch controller")
    Q_PROPERTY(QUrl dashboard READ dashboard NOTIFY changed)
    Q_PROPERTY(QObject *dashboardModel READ dashboardModel NOTIFY changed)
    Q_PROPERTY(QUrl shareSheet READ shareSheet NOTIFY changed)
    Q_PROPERTY(QObject *shareSheetModel READ shareSheetModel NOTIFY changed)

public:
    using QObject::QObject;

    QUrl dashboard() const { return m_dashboard; }
    QObject *dashboardModel() const { return m_dashboardModel; }
    QUrl shareSheet() const { return m_shareSheet; }
    QObject *shareSheetModel() const { return m_shareSheetModel; }

    void setDashboard(const QUrl &qml, QObject *model)
    {
        m_dashboard = qml;
        m_dashboardModel = model;
        Q_EMIT changed();
    }
    void setShareSheet(const QUrl &qml, QObject *model)
    {
        m_shareSheet = qml;
        m_shareSheetModel = model;
        Q_EMIT changed();
    }

Q_SIGNALS:
    void changed();

private:
    QUrl m_dashboard;
    QPointer<QObject> m_dashboardModel;
    QUrl m_shareSheet;
    QPointer<QObject> m_shareSheetModel;
};
