#pragma once

#include "design/ColorTokens.h"
#include "design/FontTokens.h"
#include "design/MotionTokens.h"

#include <QVariantMap>

// The design tokens as QML sees them: `T.C.fg`, `T.F.title`, `T.M.swap`,
// `T.platformHex["stripe"]`, plus the platform look-ups the views need.
// Constants only, so each engine simply makes its own.
class Tokens : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(T)
    QML_SINGLETON
    Q_PROPERTY(ColorTokens *C READ colors CONSTANT)
    Q_PROPERTY(FontTokens *F READ fonts CONSTANT)
    Q_PROPERTY(MotionTokens *M READ motion CONSTANT)
    Q_PROPERTY(QVariantMap platformHex READ platformHex CONSTANT)

public:
    explicit Tokens(QObject *parent = nullptr);

    ColorTokens *colors() { return &m_colors; }
    FontTokens *fonts() { return &m_fonts; }
    MotionTokens *motion() { return &m_motion; }
    // Platform raw value -> "#rrggbb".
    static QVariantMap platformHex();

    // The brand colour of a raw value; "#ffe03a" for anything unknown.
    Q_INVOKABLE static QString accentHex(const QString &platform);
    Q_INVOKABLE static QColor platformColor(const QString &platform);
    // The display name, or the raw value itself when unknown.
    Q_INVOKABLE static QString platformName(const QString &platform);
    // The logo's resource file name ("" when the platform is unknown).
    Q_INVOKABLE static QString logoFile(const QString &platform);

private:
    ColorTokens m_colors{this};
    FontTokens m_fonts{this};
    MotionTokens m_motion{this};
};
