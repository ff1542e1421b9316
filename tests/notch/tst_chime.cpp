#include "notch/AudioOutputCheck.h"
#include "notch/ChimePlayer.h"
#include "notch/EffectSoundOutput.h"
#include "support/RecordingOutput.h"

#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestChime : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Our own files: short 16-bit PCM WAV, which is what QSoundEffect plays.
    void chimes()
    {
        QStringList names;
        QSet<QUrl> sounds;
        for (Chime c : Chimes::all()) {
            names << Chimes::rawValue(c) + u'=' + Chimes::label(c);
            QCOMPARE(Chimes::fromRaw(Chimes::rawValue(c)), c);
            const auto url = Chimes::sound(c);
            if (!url)
                continue;
            sounds.insert(*url);
            QFile f(u':' + url->path());
            QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(url->toString()));
            const QByteArray head = f.read(44);
            QCOMPARE(head.left(4) + head.mid(8, 8), "RIFFWAVEfmt ");
            QCOMPARE(head.at(20), 1);  // PCM
            QCOMPARE(head.at(34), 16); // bits per sample
            QVERIFY(f.size() > 10000 && f.size() < 200000);
        }
        QCOMPARE(names.join(u' '), "chime=Chime bell=Bell soft=Soft coin=Coin off=Off");
        QCOMPARE(sounds.size(), 4); // all but "off", each its own
    }

    void preferences_data()
    {
        QTest::addColumn<QVariant>("chime"); // invalid: not stored
        QTest::addColumn<QVariant>("volume");
        QTest::addColumn<QString>("played"); // empty for silence
        QTest::newRow("nothing stored") << QVariant() << QVariant() << "chime.wav 0.6@0";
        QTest::newRow("bell, quiet") << QVariant("bell") << QVariant(0.25) << "bell.wav 0.25@0";
        QTest::newRow("off") << QVariant("off") << QVariant(0.9) << "";
        QTest::newRow("removed sound's name")
            << QVariant("Glass") << QVariant() << "chime.wav 0.6@0";
        QTest::newRow("chime of the wrong type")
            << QVariant(QVariantList{"bell"}) << QVariant() << "chime.wav 0.6@0";
        QTest::newRow("volume as text") << QVariant() << QVariant("loud") << "chime.wav 0.6@0";
        QTest::newRow("volume not a number") << QVariant() << QVariant("nan") << "chime.wav 0.6@0";
        QTest::newRow("volume of the wrong type")
            << QVariant() << QVariant(QVariantList{0.2}) << "chime.wav 0.6@0";
        QTest::newRow("volume above one") << QVariant() << QVariant(3) << "chime.wav 1@0";
        QTest::newRow("volume below zero still plays")
            << QVariant("coin") << QVariant(-0.5) << "coin.wav 0@0";
    }

    // Stored, then read back from the file as a fresh start would.
    void preferences()
    {
        QFETCH(QVariant, chime);
        QFETCH(QVariant, volume);
        QTemporaryDir dir;
        const QString file = dir.filePath("settings.ini");
        {
            QSettings writer(file, QSettings::IniFormat);
            if (chime.isValid())
                writer.setValue("chime", chime);
            if (volume.isValid())
                writer.setValue("chimeVolume", volume);
        }
        QSettings settings(file, QSettings::IniFormat);
        RecordingOutput output;
        ChimePlayer(settings, output).playCurrent();
        QTEST(output.heard().join(u','), "played");
    }

    void choiceIsReadWhenPlaying()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("settings.ini"), QSettings::IniFormat);
        RecordingOutput output;
        ChimePlayer player(settings, output);
        Chimes::setCurrent(settings, Chime::Coin);
        player.playCurrent();
        Chimes::setCurrent(settings, Chime::Off);
        player.playCurrent();
        player.play(Chime::Soft); // a sample in the settings plays even when off is chosen
        QCOMPARE(output.heard(), (QStringList{"coin.wav 0.6@0", "soft.wav 0.6@0"}));
    }

    // Without a sound device: nothing plays and nothing is printed.
    void noSoundDeviceIsQuiet()
    {
        QTest::failOnWarning(QRegularExpression(".*"));
        EffectSoundOutput output;
        for (Chime c : Chimes::all())
            if (const auto url = Chimes::sound(c))
                output.play(*url, 0.6f);
        if (hasAudioOutput())
            QSKIP("This machine has a sound device; the sounds were started for real.");
        QVERIFY(output.findChildren<QObject *>().isEmpty()); // no effect was made
    }
};

QTEST_GUILESS_MAIN(TestChime)
#include "tst_chime.moc"
