pragma Singleton
import QtQuick

// The two typefaces of the windows, by family, for sizes the tokens don't name.
QtObject {
    readonly property string display: "Funnel Display"
    readonly property string sans: "Funnel Sans"
}
