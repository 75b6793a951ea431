// The Qt-free half of Fernlader: addresses taken apart, and responses read from blocks cut at
// every possible place, which must always give the same body, status and outcome.
#include "fernlader/HttpAnfrage.h"
#include "fernlader/HttpAntwort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using fernlader::AdressFehler;
using fernlader::HttpAntwort;
using Stand = HttpAntwort::Stand;

namespace {

struct AdressFall {
    const char* url;
    AdressFehler fehler;
    const char* host;
    int port;
    const char* pfad;
    const char* hostKopf;
};

const AdressFall AdressFaelle[] = {
    {"HTTP://Server/datei.zip", AdressFehler::Keiner, "Server", 80, "/datei.zip", "Server"},
    {"server", AdressFehler::Keiner, "server", 80, "/", "server"},
    {"  http://host:8080/x \r\n", AdressFehler::Keiner, "host", 8080, "/x", "host:8080"},
    {"host:/a", AdressFehler::Keiner, "host", 80, "/a", "host"},
    {"http://host?q=1#teil", AdressFehler::Keiner, "host", 80, "/?q=1", "host"},
    {"http://host/mein update.zip#x", AdressFehler::Keiner, "host", 80, "/mein%20update.zip",
     "host"},
    {"http://host/%C3%A4/\xC3\xA4", AdressFehler::Keiner, "host", 80, "/%C3%A4/%C3%A4", "host"},
    {"http://[::1]:8080/a", AdressFehler::Keiner, "::1", 8080, "/a", "[::1]:8080"},
    {"", AdressFehler::Leer, "", 80, "/", ""},
    {" \t ", AdressFehler::Leer, "", 80, "/", ""},
    {"https://host/x", AdressFehler::NurHttp, "", 80, "/", ""},
    {"HTTPS://host", AdressFehler::NurHttp, "", 80, "/", ""},
    {"ftp://host/x", AdressFehler::NurHttp, "", 80, "/", ""},
    {"http://:80/x", AdressFehler::Ungueltig, "", 80, "/", ""},
    {"http:///x", AdressFehler::Ungueltig, "", 80, "/", ""},
    {"host:0", AdressFehler::Ungueltig, "", 80, "/", ""},
    {"host:65536/x", AdressFehler::Ungueltig, "", 80, "/", ""},
    {"host:8o/x", AdressFehler::Ungueltig, "", 80, "/", ""},
    {"user:pw@host/x", AdressFehler::Ungueltig, "", 80, "/", ""},
    {"[::1/x", AdressFehler::Ungueltig, "", 80, "/", ""},
    {"a b/x", AdressFehler::Ungueltig, "", 80, "/", ""},
};

TEST(Adresse, Zerlegen) {
    for (const AdressFall& f : AdressFaelle) {
        SCOPED_TRACE(f.url);
        const fernlader::Adresse a = fernlader::AdresseZerlegen(f.url);
        EXPECT_EQ(a.fehler, f.fehler);
        if (f.fehler != AdressFehler::Keiner) continue;
        EXPECT_EQ(a.host, f.host);
        EXPECT_EQ(a.port, f.port);
        EXPECT_EQ(a.pfad, f.pfad);
        EXPECT_EQ(fernlader::HostKopf(a), f.hostKopf);
    }
}

TEST(Adresse, AnfrageZeilen) {
    EXPECT_EQ(fernlader::AnfrageText(fernlader::AdresseZerlegen("HTTP://Server:81/datei.zip")),
              "GET /datei.zip HTTP/1.1\r\nHost: Server:81\r\nAccept: */*\r\n"
              "Connection: close\r\n\r\n");
}

struct Ergebnis {
    Stand stand;
    int status;
    std::int64_t laenge;
    std::string koerper;
    std::string fehler = {};
};

Ergebnis Lesen(const std::vector<std::string_view>& bloecke, bool schliessen) {
    HttpAntwort a;
    std::string koerper;
    for (std::string_view b : bloecke)
        a.Aufnehmen(b, [&](std::string_view teil) { koerper.append(teil); });
    if (schliessen) a.Schliessen();
    EXPECT_EQ(a.KoerperBytes(), static_cast<std::int64_t>(koerper.size()));
    return {a.Zustand(), a.Status(), a.Laenge(), koerper, a.Fehler()};
}

struct AntwortFall {
    const char* name;
    std::string antwort;
    bool schliessen;
    Ergebnis erwartet;
};

const std::string Ok = "HTTP/1.1 200 OK\r\n";
const std::string Chunked = Ok + "Transfer-Encoding: chunked\r\n";

// clang-format off
const AntwortFall AntwortFaelle[] = {
    {"mit Laenge", Ok + "Content-Length: 5\r\n\r\nhallo", false, {Stand::Fertig, 200, 5, "hallo"}},
    {"Bytes nach der Laenge", Ok + "Content-Length: 5\r\n\r\nhalloXY", false,
     {Stand::Fertig, 200, 5, "hallo"}},
    {"ohne Laenge bis zum Ende", "HTTP/1.0 200 OK\r\n\r\nab\r\n\r\ncd", true,
     {Stand::Fertig, 200, -1, "ab\r\n\r\ncd"}},
    {"ohne Laenge noch offen", "HTTP/1.0 200 OK\r\n\r\nab", false, {Stand::Koerper, 200, -1, "ab"}},
    {"chunked", Chunked + "\r\n4\r\nWiki\r\n5;x=\"1\"\r\npedia\r\nE \r\n in\r\n\r\nchunks.\r\n"
                          "0\r\nX-Nach: 1\r\n\r\n", false,
     {Stand::Fertig, 200, -1, "Wikipedia in\r\n\r\nchunks."}},
    {"chunked vor Content-Length", Chunked + "Content-Length: 2\r\n\r\n3\r\nabc\r\n0\r\n\r\n",
     false, {Stand::Fertig, 200, -1, "abc"}},
    {"Namen ohne Fall, nur LF", "HTTP/1.1 200 OK\ncontent-LENGTH:  3 \n\nabc", false,
     {Stand::Fertig, 200, 3, "abc"}},
    {"Fehlerseite", "HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\nnein", false,
     {Stand::Fertig, 404, 4, "nein"}},
    {"100 Continue davor", "HTTP/1.1 100 Continue\r\n\r\n" + Ok + "Content-Length: 2\r\n\r\nok",
     false, {Stand::Fertig, 200, 2, "ok"}},
    {"204 ohne Koerper", "HTTP/1.1 204 No Content\r\nContent-Length: 9\r\n\r\nx", false,
     {Stand::Fertig, 204, 0, ""}},
    {"Laenge 0", Ok + "Content-Length: 0\r\n\r\n", false, {Stand::Fertig, 200, 0, ""}},
    {"Laenge ueber 32 Bit", Ok + "Content-Length: 5000000000\r\n\r\nab", false,
     {Stand::Koerper, 200, 5000000000, "ab"}},
    {"dieselbe Laenge zweimal", Ok + "Content-Length: 3, 3\r\nContent-Length: 3\r\n\r\nabc", false,
     {Stand::Fertig, 200, 3, "abc"}},
    {"ohne Statuszeile", "GIF89a\r\n\r\nHTTP/1", true,
     {Stand::Fertig, 0, -1, "GIF89a\r\n\r\nHTTP/1"}},
    {"Ende im Kopf", Ok + "Content-Le", true, {Stand::Unvollstaendig, 0, -1, ""}},
    {"Ende im Koerper", Ok + "Content-Length: 9\r\n\r\nabc", true,
     {Stand::Unvollstaendig, 200, 9, "abc"}},
    {"Ende in einem Chunk", Chunked + "\r\n5\r\nab", true, {Stand::Unvollstaendig, 200, -1, "ab"}},
    {"Ende vor dem letzten Chunk", Chunked + "\r\n2\r\nab\r\n", true,
     {Stand::Unvollstaendig, 200, -1, "ab"}},
    {"keine Antwort", "", true, {Stand::Unvollstaendig, 0, -1, ""}},
    {"Laenge negativ", Ok + "Content-Length: -5\r\n\r\nabc", false, {Stand::Kaputt, 200, -1, ""}},
    {"Laenge mit Buchstaben", Ok + "Content-Length: 12x\r\n\r\nabc", false,
     {Stand::Kaputt, 200, -1, ""}},
    {"Laenge leer", Ok + "Content-Length:\r\n\r\nabc", false, {Stand::Kaputt, 200, -1, ""}},
    {"Laenge ueber 64 Bit", Ok + "Content-Length: 99999999999999999999\r\n\r\nabc", false,
     {Stand::Kaputt, 200, -1, ""}},
    {"zwei Laengen", Ok + "Content-Length: 3\r\nContent-Length: 4\r\n\r\nabcd", false,
     {Stand::Kaputt, 200, 3, ""}},
    {"Chunk laenger als angegeben", Chunked + "\r\n3\r\nabcd\r\n0\r\n\r\n", false,
     {Stand::Kaputt, 200, -1, "abc"}},
    {"Chunkgroesse kein Hex", Chunked + "\r\nzz\r\nab\r\n", false, {Stand::Kaputt, 200, -1, ""}},
    {"Chunkgroesse zu gross", Chunked + "\r\n11111111111111111\r\n", false,
     {Stand::Kaputt, 200, -1, ""}},
    {"fremde Transferkodierung", Ok + "Transfer-Encoding: gzip, chunked\r\n\r\nx", false,
     {Stand::Kaputt, 200, -1, ""}},
    {"Statuszeile kaputt", "HTTP/1.1 2000 OK\r\n\r\nabc", true, {Stand::Kaputt, 0, -1, ""}},
};
// clang-format on

// Whole, cut in two at every place, and byte by byte: the result, the reason of a failure
// included, never depends on the cuts.
TEST(HttpAntwort, JedeTeilungGibtDasselbe) {
    for (const AntwortFall& f : AntwortFaelle) {
        const std::string_view t = f.antwort;
        std::vector<std::vector<std::string_view>> teilungen = {{t}};
        for (std::size_t i = 0; i <= t.size(); ++i)
            teilungen.push_back({t.substr(0, i), t.substr(i)});
        std::vector<std::string_view> bytes;
        for (std::size_t i = 0; i < t.size(); ++i) bytes.push_back(t.substr(i, 1));
        teilungen.push_back(bytes);
        for (std::size_t n = 0; n < teilungen.size(); ++n) {
            SCOPED_TRACE(std::string(f.name) + ", teilung " + std::to_string(n));
            const Ergebnis e = Lesen(teilungen[n], f.schliessen);
            EXPECT_EQ(e.stand, f.erwartet.stand);
            EXPECT_EQ(e.status, f.erwartet.status);
            EXPECT_EQ(e.laenge, f.erwartet.laenge);
            EXPECT_EQ(e.koerper, f.erwartet.koerper);
            EXPECT_EQ(e.fehler.empty(), e.stand == Stand::Fertig || e.stand == Stand::Koerper);
            EXPECT_EQ(e.fehler, Lesen({t}, f.schliessen).fehler);
            if (::testing::Test::HasFailure()) return;
        }
    }
}

// A server sending header or chunk lines without end is refused before memory grows.
TEST(HttpAntwort, EndloseZeilenWerdenAbgewiesen) {
    const std::string viel(70000, 'a');
    for (const std::string& antwort : {Ok + "X-Lang: " + viel, Chunked + "\r\n1;" + viel,
                                       Chunked + "\r\n0\r\nX: " + viel + "\r\n" + viel}) {
        HttpAntwort a;
        for (std::size_t i = 0; i < antwort.size(); i += 1000)
            a.Aufnehmen(std::string_view(antwort).substr(i, 1000), [](std::string_view) {});
        EXPECT_EQ(a.Zustand(), Stand::Kaputt) << antwort.substr(0, 60);
        EXPECT_FALSE(a.Fehler().empty());
    }
}

} // namespace
