#include "CountingRelay.h"
#include "RemoteTestServer.h"

#include "core/records/ObjectFormError.h"
#include "core/records/TSonucBilgisi.h"
#include "core/records/TTusSonuclari.h"
#include "core/remote/ProxyError.h"
#include "core/remote/ServerCall.h"
#include "core/wire/ServerMethodCommand.h"
#include "core/wire/WireError.h"

#include <gtest/gtest.h>

#include <QHostAddress>

using namespace Qt::StringLiterals;

namespace morvex::test {
namespace {

    TEST(RemoteProxy, RefusesAConnectionThatIsNotOpen)
    {
        DataSnapConnection closed;
        try {
            TServerMethods1Client proxy(closed);
            FAIL() << "a proxy was made on a closed connection";
        } catch (const ProxyError &e) {
            EXPECT_EQ(e.message(), u"Connection cannot be nil.  Make sure the connection has been opened."_s);
            EXPECT_EQ(e.kind(), u"EInvalidOperation"_s);
        }
    }

    TEST(RemoteProxy, PreparesEachMethodOncePerProxyUnderItsCommandText)
    {
        RemoteTestServer server;
        CountingRelay relay(server.port());
        auto connection = server.connect(relay.port());
        {
            TServerMethods1Client proxy(*connection);
            proxy.EchoString(u"bir"_s);
            proxy.EchoString(u"iki"_s);
            proxy.KayanYaziGetir();
            proxy.KayanYaziGetir();
            EXPECT_EQ(relay.count(R"("method":"prepare")"), 2);
            EXPECT_EQ(relay.count(R"("method":"execute")"), 4);
            EXPECT_EQ(relay.count(R"("DataSnap.ServerMethod","TServerMethods1.EchoString")"), 1);
            EXPECT_EQ(relay.count(R"("DataSnap.ServerMethod","TServerMethods1.KayanYaziGetir")"), 1);
            EXPECT_EQ(proxy.preparedCommandCount(), 2);
        }
        // A new proxy prepares afresh; the old one closed its commands when it went (counted after
        // the next reply, since command_close has none of its own).
        TServerMethods1Client second(*connection);
        second.KayanYaziGetir();
        EXPECT_EQ(relay.count(R"("method":"prepare")"), 3);
        EXPECT_EQ(relay.count(R"("method":"command_close")"), 2);
    }

    TEST(RemoteProxy, ResultsStayWithTheCallerWhenTheMethodRunsAgain)
    {
        RemoteTestServer server;
        auto connection = server.connect();
        TServerMethods1Client proxy(*connection);
        RecordSet first = proxy.SepetVer(1);
        const RecordSet again = proxy.SepetVer(1);
        RecordSet other = proxy.SepetVer(2);
        EXPECT_EQ(tableDifference(again, first), QString());
        EXPECT_FALSE(tableDifference(other, first).isEmpty());
        auto record = proxy.BuyukGetir(u"ABC"_s);
        auto record2 = proxy.BuyukGetir(u"ABC"_s);
        ASSERT_TRUE(record && record2);
        EXPECT_EQ(*record, *record2);
    }

    // Server error replies surface with the server's exception class, code and message; the
    // connection and the proxy stay usable.
    TEST(RemoteProxy, ServerErrorsSurfaceWithClassCodeAndMessage)
    {
        const struct
        {
            QString name;
            int code;
            QString message;
            QString expectedName;
            int expectedCode;
        } cases[] = {
            { u"EDatabaseError"_s, 42, u"Kayıt bulunamadı: \"STK-1\""_s, u"EDatabaseError"_s, 42 },
            { QString(), 0, u"beklenmeyen durum"_s, u"Exception"_s, 5 },
        };
        for (const auto &c : cases) {
            RoundTripPlan plan;
            plan.failOn = MethodId::SepetHepsiniSil;
            plan.errorName = c.name;
            plan.errorCode = c.code;
            plan.errorMessage = c.message;
            RemoteTestServer server(plan);
            auto connection = server.connect();
            TServerMethods1Client proxy(*connection);
            try {
                proxy.SepetHepsiniSil(std::make_unique<TSonucBilgisi>());
                ADD_FAILURE() << "the call did not fail";
            } catch (const RemoteError &e) {
                EXPECT_EQ(e.name(), c.expectedName);
                EXPECT_EQ(e.code(), c.expectedCode);
                EXPECT_EQ(e.message(), u"Remote error: "_s + c.message);
                EXPECT_EQ(e.plainMessage(), c.message);
            }
            EXPECT_NO_THROW(proxy.EchoString(u"hâlâ çalışıyor"_s));
            EXPECT_THROW(proxy.SepetHepsiniSil(nullptr), RemoteError);
        }
    }

    TEST(RemoteProxy, UnknownObjectTypeFailsAndNullStaysNull)
    {
        RemoteTestServer server({}, {}, [](const MethodSignature &method, std::vector<WireValue> &values) {
            if (method.name == u"TServerMethods1.BuyukGetir"_s)
                values.back() = WireValue::json(R"({"type":"baglantiu.TBilinmeyen","id":1,"fields":{}})");
            if (method.name == u"TServerMethods1.AcilisREklamVer"_s)
                values.back() = WireValue();
            if (method.name == u"TServerMethods1.TusSonuclariVer"_s)
                values.back() = WireValue::json("null");
            if (method.name == u"TServerMethods1.MobilStokNoAra"_s) // a known class, not the declared one
                values.back() = WireValue::json(
                    R"({"type":"baglantiu.TTusSonuclari","id":1,"fields":{"FAlindi":1,)"
                    R"("FOnaylandi":2,"FParcaliHazirlandi":3,"FSevkEdildi":4,"FHazirlandi":5,"FGoruldu":6}})");
        });
        auto connection = server.connect();
        TServerMethods1Client proxy(*connection);
        try {
            proxy.BuyukGetir(u"X"_s);
            ADD_FAILURE() << "an unknown type was accepted";
        } catch (const ObjectFormError &e) {
            EXPECT_STREQ(e.what(), "Internal: Cannot instantiate type baglantiu.TBilinmeyen");
        }
        EXPECT_EQ(proxy.AcilisREklamVer(0), nullptr);
        EXPECT_EQ(proxy.TusSonuclariVer(std::make_unique<TSonucBilgisi>()), nullptr);
        EXPECT_THROW(proxy.MobilStokNoAra(1, nullptr), ObjectFormError);
        EXPECT_NO_THROW(proxy.EchoString(u"sonra"_s)); // the connection is still usable
    }

    // Arguments the dispatcher cannot take give an error reply naming the method and parameter,
    // over the wire as well as when the registry is called directly.
    TEST(RemoteDispatcher, RejectsArgumentsOfTheWrongKindOrNumber)
    {
        RemoteTestServer server;
        const ServerMethodRegistry &registry = server.registry();
        const MethodSignature *sepetVer = registry.find(u"TServerMethods1.SepetVer"_s);
        const MethodSignature *stokAra = registry.find(u"tservermethods1.stokaraorvex"_s);
        ASSERT_TRUE(sepetVer && stokAra);
        const auto session = toObjectForm(TSonucBilgisi());
        const struct
        {
            const char *name;
            const MethodSignature *method;
            std::vector<WireValue> values;
            QString message;
        } cases[] = {
            { "too few values", sepetVer, {},
                u"TServerMethods1.SepetVer takes 2 parameters, the call carried 0"_s },
            { "text for an integer", sepetVer, { WireValue::text(u"1"_s), WireValue() },
                u"TServerMethods1.SepetVer, parameter 0 (carino): expected integer, got text"_s },
            { "null for a text", stokAra, { WireValue(), WireValue::json(session), WireValue() },
                u"TServerMethods1.StokAraOrvex, parameter 0 (kod): expected text, got null"_s },
            { "another class", stokAra,
                { WireValue::text(u"a"_s), WireValue::json(toObjectForm(TTusSonuclari())), WireValue() },
                u"TServerMethods1.StokAraOrvex, parameter 1 (bilgi): expected an object of type baglantiu.TSonucBilgisi, got baglantiu.TTusSonuclari"_s },
        };
        for (const auto &c : cases) {
            SCOPED_TRACE(c.name);
            std::vector<WireValue> values = c.values;
            try {
                registry.invoke(*c.method, values);
                ADD_FAILURE() << "accepted";
            } catch (const ServerMethodError &e) {
                EXPECT_EQ(e.message(), c.message);
            }
        }

        // The same over TCP: a raw command that sends null where text is declared.
        auto connection = server.connect();
        ServerMethodCommand command(*connection, u"TServerMethods1.EchoString"_s);
        command.prepare();
        try {
            command.execute({ WireValue(), WireValue() });
            ADD_FAILURE() << "accepted";
        } catch (const RemoteError &e) {
            EXPECT_EQ(e.plainMessage(),
                u"TServerMethods1.EchoString, parameter 0 (Value): expected text, got null"_s);
        }
    }

    TEST(RemoteDispatcher, AnnouncesTheCatalogueSignaturesInPrepare)
    {
        RemoteTestServer server;
        auto connection = server.connect();
        for (const RemoteMethod &method : methodCatalogue()) {
            ServerMethodCommand command(*connection, method.commandText());
            command.prepare();
            EXPECT_EQ(command.parameters(), methodSignature(method).params) << method.name;
        }
        ServerMethodCommand unknown(*connection, u"TServerMethods1.Yok"_s);
        try {
            unknown.prepare();
            ADD_FAILURE() << "an unknown method was prepared";
        } catch (const RemoteError &e) {
            EXPECT_EQ(e.code(), 105);
        }
    }

    // A server whose method takes other parameters than ours must not get our values at the wrong
    // positions: the proxy refuses to call it.
    TEST(RemoteProxy, RefusesAMethodTheServerDeclaresDifferently)
    {
        class OddRegistry : public ServerMethodRegistry
        {
        public:
            OddRegistry()
            {
                m_echo.name = u"TServerMethods1.EchoString"_s;
                m_echo.params.push_back({ u"Value"_s, DataType::WideString, 0, Direction::In });
                m_echo.params.push_back({ u"Extra"_s, DataType::WideString, 0, Direction::In });
                m_echo.params.push_back({ kReturnParameterName, DataType::WideString, 0, Direction::Return });
            }
            const MethodSignature *find(QStringView) const override { return &m_echo; }
            void invoke(const MethodSignature &, std::vector<WireValue> &params) const override
            {
                params.back() = WireValue::text(u"yanlış"_s);
            }

        private:
            MethodSignature m_echo;
        } registry;
        DataSnapServer server(registry);
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        DataSnapConnection connection;
        connection.setHostName(u"127.0.0.1"_s);
        connection.setPort(QString::number(server.serverPort()));
        connection.open();
        TServerMethods1Client proxy(connection);
        try {
            proxy.EchoString(u"a"_s);
            ADD_FAILURE() << "called a method with another shape";
        } catch (const ProxyError &e) {
            EXPECT_EQ(e.message(),
                u"TServerMethods1.EchoString has 3 parameters on the server, 2 in this client"_s);
        }
    }

} // namespace
} // namespace morvex::test
