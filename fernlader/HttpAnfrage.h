// The download address taken apart (host, port, request path) and the GET request sent for it.
// Plain HTTP only; no Qt, so the address rules are tested on their own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fernlader {

// Why an address cannot be fetched.
enum class AdressFehler {
    Keiner,
    Leer,
    // Another scheme than http://, https:// in particular: there is no TLS here.
    NurHttp,
    // No host, a port outside 1..65535, credentials, or characters no host name has.
    Ungueltig,
};

struct Adresse {
    // As written in the URL; an IPv6 literal without its brackets.
    std::string host;
    std::uint16_t port = 80;
    // The request target: always begins with "/", the fragment removed, and bytes that may not
    // stand in a request line percent-encoded.
    std::string pfad = "/";
    AdressFehler fehler = AdressFehler::Keiner;
};

// Takes "http://host[:port]/path" apart. The scheme is optional and matched without regard to
// case; without a "/" the whole text names the host and the path is "/".
Adresse AdresseZerlegen(std::string_view url);

// The value of the Host header: the host, bracketed when it is an IPv6 literal, with ":port"
// unless the port is 80.
std::string HostKopf(const Adresse& a);

// The request, CR LF line ends: GET, Host, Accept */*, Connection close and the empty line.
std::string AnfrageText(const Adresse& a);

} // namespace fernlader
