#include "RecordingOutput.h"
#include "notch/AudioOutputCheck.h"
#include "notch/ChimePlayer.h"
#include "notch/EffectSoundOutput.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestChime : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cases()
    {
        QStringList raws, labels;
        for (Chime c : Chimes::all()) {
            raws << Chimes::rawValue(c);
            labels << Chimes::label(c);
            QCOMPARE(Chimes::fromRaw(Chimes::rawValue(c)), c);
        }
        QCOMPARE(raws, (QStringList{"chime", "bell", "soft", "coin", "off"}));
        QCOMPARE(labels, (QStringList{"Chime", "Bell", "Soft", "Coin", "Off"}));
        QVERIFY(!Chimes::fromRaw("Glass"));
        QVERIFY(!Chimes::sound(Chime::Off));
    }

    // Our own files: short 16-bit PCM WAV, which is what QSoundEffect plays.
    void soundsAreShippedAsWav()
    {
        QSet<QUrl> distinct;
        for (Chime c : Chimes::all()) {
            const auto url = Chimes::sound(c);
            if (!url)
                continue;
            distinct.insert(*url);
            QFile f(u':' + url->path());
            QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(url->toString()));
            const QByteArray head = f.read(44);
            QCOMPARE(head.left(4), "RIFF");
            QCOMPARE(head.mid(8, 8), "WAVEfmt ");
            QCOMPARE(head.at(20), 1);  // PCM
            QCOMPARE(head.at(34), 16); // bits per sample
            QVERIFY(f.size() > 10000 && f.size() < 200000);
        }
        QCOMPARE(distinct.size(), 4);
    }

    void preferences_data()
    {
        QTest::addColumn<QVariant>("chime"); // invalid: not stored
        QTest::addColumn<QVariant>("volume");
        QTest::addColumn<QString>("played"); // file name, empty for silence
        QTest::addColumn<float>("atVolume");
        QTest::newRow("nothing stored") << QVariant() << QVariant() << "chime.wav" << 0.6f;
        QTest::newRow("bell, quiet") << QVariant("bell") << QVariant(0.25) << "bell.wav" << 0.25f;
        QTest::newRow("coin") << QVariant("coin") << QVariant(1.0) << "coin.wav" << 1.0f;
        QTest::newRow("soft") << QVariant("soft") << QVariant(0.5) << "soft.wav" << 0.5f;
        QTest::newRow("off") << QVariant("off") << QVariant(0.9) << "" << 0.0f;
        QTest::newRow("removed sound's name") << QVariant("Glass") << QVariant() << "chime.wav" << 0.6f;
        QTest::newRow("chime of the wrong type") << QVariant(QVariantList{"bell"}) << QVariant() << "chime.wav" << 0.6f;
        QTest::newRow("volume zero still starts") << QVariant("bell") << QVariant(0) << "bell.wav" << 0.0f;
        QTest::newRow("volume as text") << QVariant() << QVariant("loud") << "chime.wav" << 0.6f;
        QTest::newRow("volume not a number") << QVariant() << QVariant("nan") << "chime.wav" << 0.6f;
        QTest::newRow("volume of the wrong type") << QVariant() << QVariant(QVariantList{0.2}) << "chime.wav" << 0.6f;
        QTest::newRow("volume above one") << QVariant() << QVariant(3) << "chime.wav" << 1.0f;
        QTest::newRow("volume below zero") << QVariant() << QVariant(-0.5) << "chime.wav" << 0.0f;
    }

    // Stored, then read back from the file as a fresh start would.
    void preferences()
    {
        QFETCH(QVariant, chime);
        QFETCH(QVariant, volume);
        QFETCH(QString, played);
        QFETCH(float, atVolume);
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
        if (played.isEmpty()) {
            QVERIFY(output.played.isEmpty());
            return;
        }
        QCOMPARE(output.played.size(), 1);
        QCOMPARE(output.played.first().sound, QUrl("qrc:/chimes/" + played));
        QCOMPARE(output.played.first().volume, atVolume);
    }

    void choiceIsReadWhenPlaying()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("settings.ini"), QSettings::IniFormat);
        RecordingOutput output;
        ChimePlayer player(settings, output);
        Chimes::setCurrent(settings, Chime::Coin);
        QCOMPARE(settings.value("chime").toString(), "coin");
        player.playCurrent();
        Chimes::setCurrent(settings, Chime::Off);
        player.playCurrent();
        player.play(Chime::Soft); // a sample in the settings plays even when off is chosen
        QCOMPARE(output.played.size(), 2);
        QCOMPARE(output.played.at(0).sound.fileName(), "coin.wav");
        QCOMPARE(output.played.at(1).sound.fileName(), "soft.wav");
    }

    // Without a sound device: nothing plays, nothing is printed, no wait.
    void noSoundDeviceIsQuiet()
    {
        QTest::failOnWarning(QRegularExpression(".*"));
        EffectSoundOutput output;
        QElapsedTimer timer;
        timer.start();
        for (Chime c : Chimes::all())
            if (const auto url = Chimes::sound(c))
                output.play(*url, 0.6f);
        if (hasAudioOutput())
            QSKIP("This machine has a sound device; the sounds were started for real.");
        QVERIFY(timer.elapsed() < 1000);
        QVERIFY(output.findChildren<QObject *>().isEmpty()); // no effect was made
    }
};

QTEST_GUILESS_MAIN(TestChime)
#include "tst_chime.moc"
