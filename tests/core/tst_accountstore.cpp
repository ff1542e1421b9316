#include "core/AccountKey.h"
#include "core/AccountStore.h"
#include "core/Keychain.h"
#include "core/SourceError.h"
#include "support/RunTask.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What the Secret Service holds for an account, read with the system's own tool.
QString lookup(const QString &service, const QUuid &id)
{
    QProcess p;
    p.start("secret-tool", {"lookup", "server", service, "user", accountKey(id)});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

}

class TestAccountStore : public QObject {
    Q_OBJECT

    const QString service = QStringLiteral("app.vexalon.korvanta.tests");

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("KORVANTA_TEST_SESSION"))
            QSKIP("Needs the private keyring of scripts/with-test-session.sh");
    }

    void keysLiveInTheKeyringWithACache()
    {
        const QUuid id = QUuid::createUuid();
        Keychain first(service);
        runTask(first.set("rk_live_one", id));
        runTask(first.set("rk_live_two", id)); // replaces, never duplicates
        QCOMPARE(lookup(service, id), "rk_live_two");

        Keychain fresh(service);
        QCOMPARE(runTask(fresh.get(id)).key, "rk_live_two");
        // Deleted outside the app while it runs: the cache still answers...
        QProcess::execute("secret-tool", {"clear", "server", service, "user", accountKey(id)});
        QCOMPARE(runTask(fresh.get(id)).key, "rk_live_two");
        // ...until the next start, which reports a plain missing key.
        Keychain restarted(service);
        const Keychain::Read missing = runTask(restarted.get(id));
        QVERIFY(!missing.key);
        QVERIFY(!missing.problem);

        runTask(restarted.set("k", id));
        runTask(restarted.remove(id));
        QVERIFY(!runTask(restarted.get(id)).key);
        QCOMPARE(lookup(service, id), "");
    }

    void accountsPersistInOrderWithPrivateSettings()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("Korvanta.conf");
        Keychain keychain(service);
        Account a{QUuid::createUuid(), Platform::Gumroad, "Ana's shop", {}, false};
        Account b{QUuid::createUuid(),
                  Platform::WooCommerce,
                  "shop.example",
                  {{"site", "https://shop.example"}},
                  false};
        {
            QSettings settings(file, QSettings::IniFormat);
            AccountStore store(settings, keychain);
            runTask(store.add(a, "gum_1"));
            runTask(store.add(b, "cs_2"));
            b.paused = true;
            store.update(b);
        }
        QVERIFY(!(QFile::permissions(file) & (QFile::ReadGroup | QFile::ReadOther)));
        QSettings settings(file, QSettings::IniFormat);
        Keychain restarted(service);
        AccountStore store(settings, restarted);
        QCOMPARE(store.accounts(), QList<Account>({a, b}));
        QCOMPARE(runTask(restarted.get(b.id)).key, "cs_2");
        const QJsonDocument stored =
            QJsonDocument::fromJson(settings.value("accounts.v1").toByteArray());
        QCOMPARE(stored.array().first().toObject().value("id").toString(), accountKey(a.id));

        runTask(store.remove(a.id));
        QCOMPARE(store.accounts(), QList<Account>({b}));
        QCOMPARE(lookup(service, a.id), "");
        runTask(store.remove(b.id));
    }

    void corruptListIsKeptAside()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("Korvanta.conf"), QSettings::IniFormat);
        Keychain keychain(service);
        const Account good{QUuid::createUuid(), Platform::Stripe, "Stripe", {}, false};
        const QByteArray damaged =
            "[" + QJsonDocument(good.toJson()).toJson() + R"(,{"id":"nope"}])";
        for (const QByteArray &value :
             {QByteArray("not json"), QByteArray(R"({"id":1})"), damaged}) {
            settings.clear();
            settings.setValue("accounts.v1", value);
            AccountStore store(settings, keychain);
            QCOMPARE(store.accounts().size(), value == damaged ? 1 : 0);
            QStringList backups = settings.allKeys().filter("accounts.v1.corrupt-");
            QCOMPARE(backups.size(), 1);
            QCOMPARE(settings.value(backups.first()).toByteArray(), value);
        }
    }
};

QTEST_GUILESS_MAIN(TestAccountStore)
#include "tst_accountstore.moc"
