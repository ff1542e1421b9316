import QtQuick
import QtQuick.Layouts
import Korvanta.Design
import Korvanta.Design as DS

// One moment: the platform's badge, the kicker over the title, the amount.
RowLayout {
    id: root
    property var moment: ({})
    spacing: 12

    DS.Avatar {
        platform: root.moment.platform || ""
        size: 40
        Layout.alignment: Qt.AlignVCenter
    }
    ColumnLayout {
        spacing: 1
        Layout.fillWidth: true
        Layout.alignment: Qt.AlignVCenter
        Text {
            text: root.moment.kicker || ""
            font: T.F.sub
            color: T.C.fg64
            elide: Text.ElideRight
            Layout.fillWidth: true
        }
        Text {
            objectName: "momentTitle"
            text: root.moment.title || ""
            font: T.F.title
            color: T.C.fg
            maximumLineCount: 1
            elide: Text.ElideRight
            Layout.fillWidth: true
        }
    }
    RollingFigure {
        objectName: "momentAmount"
        text: root.moment.amount || ""
        font: T.F.momentAmount
        color: T.C.fg
        Layout.alignment: Qt.AlignVCenter
    }
}
