// Address parsing and the request text of a download.
#include "fernlader/HttpAnfrage.h"

#include <algorithm>
#include <charconv>

namespace fernlader {

namespace {

bool IstLeerzeichen(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Getrimmt(std::string_view t) {
    while (!t.empty() && IstLeerzeichen(t.front())) t.remove_prefix(1);
    while (!t.empty() && IstLeerzeichen(t.back())) t.remove_suffix(1);
    return t;
}

char Klein(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool BeginntOhneFall(std::string_view t, std::string_view anfang) {
    if (t.size() < anfang.size()) return false;
    for (std::size_t i = 0; i < anfang.size(); ++i)
        if (Klein(t[i]) != anfang[i]) return false;
    return true;
}

// "name://" at the start, the name made of the characters a scheme may have.
bool HatSchema(std::string_view t) {
    const std::size_t p = t.find("://");
    if (p == 0 || p == std::string_view::npos) return false;
    return std::all_of(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(p), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '+' || c == '-' || c == '.';
    });
}

// Bytes that cannot stand in a request line or a host name as they are.
bool IstUnzulaessig(unsigned char c) {
    return c <= 0x20 || c >= 0x7f ||
           std::string_view("\"<>\\^`{|}").find(static_cast<char>(c)) != std::string_view::npos;
}

bool HostZulaessig(std::string_view host) {
    return !host.empty() && std::none_of(host.begin(), host.end(), [](char c) {
        return IstUnzulaessig(static_cast<unsigned char>(c)) || c == '/' || c == '@';
    });
}

// A user typing "host/my file.zip" means the file with the blank; the request line must not
// carry it raw. '%' stays, so an address that is already encoded is not encoded twice.
std::string Kodiert(std::string_view pfad) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string aus;
    aus.reserve(pfad.size());
    for (char c : pfad) {
        const auto b = static_cast<unsigned char>(c);
        if (IstUnzulaessig(b)) {
            aus += '%';
            aus += Hex[b >> 4];
            aus += Hex[b & 15];
        } else {
            aus += c;
        }
    }
    return aus;
}

bool PortLesen(std::string_view text, std::uint16_t& port) {
    if (text.empty()) return true; // "host:" keeps the default port
    unsigned wert = 0;
    const auto [ende, fehler] = std::from_chars(text.data(), text.data() + text.size(), wert);
    if (fehler != std::errc() || ende != text.data() + text.size() || wert < 1 || wert > 65535)
        return false;
    port = static_cast<std::uint16_t>(wert);
    return true;
}

bool HostUndPortLesen(std::string_view autoritaet, Adresse& a) {
    std::string_view portText;
    if (!autoritaet.empty() && autoritaet.front() == '[') {
        const std::size_t zu = autoritaet.find(']');
        if (zu == std::string_view::npos) return false;
        a.host = std::string(autoritaet.substr(1, zu - 1));
        const std::string_view rest = autoritaet.substr(zu + 1);
        if (!rest.empty() && rest.front() != ':') return false;
        if (!rest.empty()) portText = rest.substr(1);
        if (a.host.find(':') == std::string::npos) return false;
    } else {
        const std::size_t doppelpunkt = autoritaet.find(':');
        a.host = std::string(autoritaet.substr(0, doppelpunkt));
        if (doppelpunkt != std::string_view::npos) portText = autoritaet.substr(doppelpunkt + 1);
        if (portText.find(':') != std::string_view::npos) return false;
    }
    return HostZulaessig(a.host) && PortLesen(portText, a.port);
}

} // namespace

Adresse AdresseZerlegen(std::string_view url) {
    Adresse a;
    std::string_view t = Getrimmt(url);
    if (t.empty()) {
        a.fehler = AdressFehler::Leer;
        return a;
    }
    if (BeginntOhneFall(t, "http://")) {
        t.remove_prefix(7);
    } else if (HatSchema(t)) {
        a.fehler = AdressFehler::NurHttp;
        return a;
    }
    const std::size_t pfadAnfang = t.find_first_of("/?#");
    std::string_view pfad = pfadAnfang == std::string_view::npos ? "" : t.substr(pfadAnfang);
    if (!HostUndPortLesen(t.substr(0, pfadAnfang), a)) {
        a.fehler = AdressFehler::Ungueltig;
        return a;
    }
    // The fragment belongs to the client, never to the request.
    pfad = pfad.substr(0, pfad.find('#'));
    a.pfad = (pfad.empty() || pfad.front() != '/') ? "/" + Kodiert(pfad) : Kodiert(pfad);
    return a;
}

std::string HostKopf(const Adresse& a) {
    std::string h = a.host.find(':') == std::string::npos ? a.host : "[" + a.host + "]";
    if (a.port != 80) h += ":" + std::to_string(a.port);
    return h;
}

std::string AnfrageText(const Adresse& a) {
    return "GET " + a.pfad + " HTTP/1.1\r\nHost: " + HostKopf(a) +
           "\r\nAccept: */*\r\nConnection: close\r\n\r\n";
}

} // namespace fernlader
