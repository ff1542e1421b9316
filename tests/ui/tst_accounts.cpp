#include "ItemSearch.h"
#include "SettingsParts.h"
#include "core/AccountKey.h"
#include "ui/AccountsModel.h"
#include "ui/ConnectFormModel.h"
#include "ui/InlineMarkdown.h"
#include "ui/SettingsWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

namespace {

// The accounts pane over real stores in a temporary folder, the test
// keyring and every shipped connector talking to the fake server.
struct Pane : SettingsParts {
    AccountsModel pane{model, store, poller};

    ConnectFormModel *open(Platform p)
    {
        pane.add(Platforms::rawValue(p));
        return pane.form();
    }
    // Presses Connect and waits for the answer, checking the busy look meanwhile.
    void submit(ConnectFormModel *form)
    {
        QSignalSpy busy(form, &ConnectFormModel::busyChanged);
        form->submit();
        if (form->busy()) {
            QCOMPARE(form->connectLabel(), "Checking…");
            form->submit(); // a second press while checking does nothing
            QVERIFY(busy.wait(5000));
        }
        QCOMPARE(form->connectLabel(), "Connect");
    }
    QString keyOf(const Account &a) { return runTask(keychain.get(a.id)).key.value_or("(none)"); }
};

const QByteArray stripeAccount =
    R"({"id":"acct_1","settings":{"dashboard":{"display_name":"Acme"}}})";

}

class TestAccounts : public QObject {
    Q_OBJECT

    static QQuickItem *find(QQuickWindow *window, const QString &name)
    {
        QQuickItem *item = findItem(window, name);
        if (!item)
            qFatal("no item %s", qPrintable(name));
        return item;
    }
    static void click(QQuickWindow *window, QQuickItem *item)
    {
        QVERIFY(item);
        const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        QTest::mouseClick(window, Qt::LeftButton, {}, centre.toPoint());
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("KORVANTA_TEST_SESSION"))
            QSKIP("Needs the private keyring of scripts/with-test-session.sh");
    }

    // The real settings window: Accounts tab, Connect on Stripe, paste a key
    // with its line break, Return.
    void connectThroughTheSheet()
    {
        Pane p;
        p.t.server.on("GET", "/v1/events", ScriptedResponse::json(R"({"data":[]})"));
        p.t.server.on("GET", "/v1/account", ScriptedResponse::json(stripeAccount));
        QQmlEngine engine;
        SettingsWindow settings(engine, {p.model, p.store, p.poller, p.settings, p.chime, {}});
        settings.show(2);
        QQuickWindow *window = settings.window();
        QVERIFY(window);
        QCOMPARE(window->title(), "Korvanta Settings");
        QCOMPARE(window->size(), QSize(580, 600));
        QVERIFY(QTest::qWaitForWindowExposed(window));
        click(window, findItem(find(window, "add_stripe"), "action"));
        QQuickItem *field = nullptr;
        QTRY_VERIFY((field = findItem(window, "field_secret")) && field->isVisible());
        QCOMPARE(field->property("echoMode").toInt(), 2); // masked
        auto *pane = window->property("accounts").value<AccountsModel *>();
        QSignalSpy connected(pane->form(), &ConnectFormModel::connected);
        field->forceActiveFocus();
        QGuiApplication::clipboard()->setText("rk_live_view42\n");
        QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(window, Qt::Key_Return);
        QTRY_COMPARE(p.store.accounts().size(), 1);
        QCOMPARE(p.keyOf(p.store.accounts().first()), "rk_live_view42"); // the line break trimmed
        QCOMPARE(connected.size(), 1);
        QCOMPARE(connected.first().first().toString(), "Stripe");
        QTRY_COMPARE(pane->form(), nullptr); // the sheet closed
        QTRY_VERIFY(!findItem(window, "field_secret"));
        auto *row = find(window, "account_" + accountKey(p.store.accounts().first().id));
        QCOMPARE(findItem(row, "detail")->property("text").toString(),
                 "Connected · first check soon");
    }

    void failuresKeepWhatWasTyped_data()
    {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<QVariantMap>("values");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("requests");
        QTest::newRow("woocommerce without consumer key")
            << Platform::WooCommerce
            << QVariantMap{{"site", "https://shop.example.com"}, {"secret", "cs_1"}}
            << "Paste the consumer key too" << 0;
        QTest::newRow("rejected key") << Platform::Stripe << QVariantMap{{"secret", "rk_live_x"}}
                                      << "Stripe rejected the key. It may have been revoked" << 1;
    }
    void failuresKeepWhatWasTyped()
    {
        QFETCH(Platform, platform);
        QFETCH(QVariantMap, values);
        Pane p;
        p.t.server.on("GET", "/v1/events", ScriptedResponse::json(R"({"error":{}})", 401));
        ConnectFormModel *form = p.open(platform);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            form->setValue(it.key(), it.value().toString());
        p.submit(form);
        QTEST(form->error(), "error");
        QTEST(int(p.t.server.requests().size()), "requests");
        QCOMPARE(form->values(), values);
        QVERIFY(p.store.accounts().isEmpty());
        QCOMPARE(p.pane.form(), form); // the sheet stays open
    }

    void squareSandboxIsMarked()
    {
        Pane p;
        p.t.server.on("GET", "/v2/merchants/me", ScriptedResponse::json("{}", 401),
                      "connect.squareup.com");
        p.t.server.on("GET", "/v2/merchants/me",
                      ScriptedResponse::json(R"({"merchant":{"id":"M1","business_name":"Café"}})"),
                      "connect.squareupsandbox.com");
        ConnectFormModel *form = p.open(Platform::Square);
        form->setValue("secret", "EAAAsandbox");
        p.submit(form);
        QCOMPARE(form->error(), QString());
        const Account a = p.store.accounts().first();
        QVERIFY(a.label.endsWith(" (sandbox)"));
        QCOMPARE(a.extra.value("sandbox"), "1");
    }

    void removalForgetsEverything()
    {
        Pane p;
        const Account a{QUuid::createUuid(), Platform::Gumroad, "Zines", {}, false};
        runTask(p.store.add(a, "gum-key"));
        // One poll fails (an error line), the history holds one seen sale.
        p.t.server.on("GET", "/v2/sales", ScriptedResponse::json(R"({"success":false})", 401));
        runTask(p.poller.poll(a));
        p.events.ingest({{"s1", a.id, Platform::Gumroad, SaleEvent::Kind::Sale, "Zine",
                          Money{100, "USD"}, p.t.clock.now()}},
                        a.id, p.t.clock.now());
        const QVariantMap row = p.pane.connected().first().toMap();
        QCOMPARE(row.value("ok"), false);
        QVERIFY(row.value("health").toString().startsWith("Gumroad"));

        runTask(p.pane.removeNow(accountKey(a.id)));
        QVERIFY(p.store.accounts().isEmpty());
        QVERIFY(p.events.seen(a.id).isEmpty());
        QVERIFY(!p.poller.hasError(a.id));
        QVERIFY(p.pane.nothingConnected());
    }

    void helpStepsRender_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("html");
        QTest::newRow("bold and code") << "Open **Developers** → `rk_` <keys>"
                                       << "Open <b>Developers</b> → <code style=\"font-family:"
                                          "monospace;background-color:rgba(244,242,236,0.08)\">"
                                          "rk_</code> &lt;keys&gt;";
        QTest::newRow("unclosed markers stay") << "2 ** 3 `x"
                                               << "2 ** 3 `x";
    }
    void helpStepsRender()
    {
        QFETCH(QString, step);
        QTEST(InlineMarkdown::toHtml(step), "html");
    }
};

QTEST_MAIN(TestAccounts)
#include "tst_accounts.moc"
