// Line-by-line reading with the three line-end conventions.
#include "frames/Zeilenleser.h"

namespace konturo {

Zeilenleser::Zeilenleser(std::istream& ein, std::size_t maxLaenge)
    : ein_(ein), maxLaenge_(maxLaenge) {}

bool Zeilenleser::Lesen(std::string& zeile) {
    zeile.clear();
    std::streambuf* puffer = ein_.rdbuf();
    if (puffer == nullptr || !ein_.good()) return false;
    using Traits = std::char_traits<char>;
    bool etwasGelesen = false;
    for (;;) {
        Traits::int_type c = puffer->sbumpc();
        if (Traits::eq_int_type(c, Traits::eof())) {
            ein_.setstate(std::ios::eofbit);
            return etwasGelesen;
        }
        etwasGelesen = true;
        char z = Traits::to_char_type(c);
        if (z == '\n') return true;
        if (z == '\r') {
            if (Traits::eq_int_type(puffer->sgetc(), Traits::to_int_type('\n'))) puffer->sbumpc();
            return true;
        }
        if (zeile.size() < maxLaenge_) zeile.push_back(z);
    }
}

std::string_view Beschnitten(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

} // namespace konturo
