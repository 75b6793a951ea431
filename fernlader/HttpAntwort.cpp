// The response reader: header over any number of blocks, Content-Length, chunked transfer coding.
#include "fernlader/HttpAntwort.h"

#include <algorithm>

namespace fernlader {

namespace {

constexpr std::string_view StatusAnfang = "HTTP/1";
// No file anyone serves has chunks this long (64 PiB); the limit keeps the size, read one hex
// digit at a time, from overflowing.
constexpr std::int64_t MaxChunk = std::int64_t{1} << 56;
// Server text quoted in an error message is cut to this length.
constexpr std::size_t MaxZitat = 40;

bool IstZiffer(char c) { return c >= '0' && c <= '9'; }

char Klein(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool GleichOhneFall(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Klein(x) == y; });
}

std::string_view Getrimmt(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    return t;
}

std::string Zitat(std::string_view t) {
    return std::string(t.substr(0, MaxZitat)) + (t.size() > MaxZitat ? "..." : "");
}

// A decimal length: digits only, at most 18 of them so it fits a signed 64-bit count.
bool LaengeLesen(std::string_view t, std::int64_t& wert) {
    if (t.empty() || t.size() > 18 || !std::all_of(t.begin(), t.end(), IstZiffer)) return false;
    wert = 0;
    for (char c : t) wert = wert * 10 + (c - '0');
    return true;
}

int HexWert(char c) {
    if (IstZiffer(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Where the header in k ends (just after its blank line), searched from von; npos while the
// blank line has not arrived. Lines may end in CR LF or in a bare LF.
std::size_t KopfEnde(const std::string& k, std::size_t von) {
    for (std::size_t i = k.find('\n', von); i != std::string::npos; i = k.find('\n', i + 1)) {
        if (i + 1 < k.size() && k[i + 1] == '\n') return i + 2;
        if (i + 2 < k.size() && k[i + 1] == '\r' && k[i + 2] == '\n') return i + 3;
    }
    return std::string::npos;
}

} // namespace

void HttpAntwort::Aufnehmen(std::string_view block, const KoerperSenke& koerper) {
    if (stand_ == Stand::Kopf)
        KopfAufnehmen(block, koerper);
    else if (stand_ == Stand::Koerper)
        KoerperAufnehmen(block, koerper);
}

void HttpAntwort::Schliessen() {
    if (stand_ == Stand::Kopf) {
        stand_ = Stand::Unvollstaendig;
        fehler_ = kopf_.empty() && status_ == 0 ? "no answer" : "the header was cut off";
    } else if (stand_ == Stand::Koerper) {
        if (art_ == Art::BisEnde) {
            stand_ = Stand::Fertig;
            return;
        }
        stand_ = Stand::Unvollstaendig;
        fehler_ = "closed after " + std::to_string(koerperBytes_) + " bytes";
        if (art_ == Art::Laenge) fehler_ += " of " + std::to_string(laenge_);
    }
}

void HttpAntwort::KopfAufnehmen(std::string_view block, const KoerperSenke& koerper) {
    kopf_.append(block);
    for (;;) {
        const std::size_t n = std::min(kopf_.size(), StatusAnfang.size());
        if (kopf_.compare(0, n, StatusAnfang, 0, n) != 0) {
            if (status_ != 0) return Brechen("no status line after an interim answer");
            // A server that answers without any header: everything it sends is the body.
            stand_ = Stand::Koerper;
            art_ = Art::BisEnde;
            const std::string alles = std::move(kopf_);
            kopf_.clear();
            return Abgeben(alles, koerper);
        }
        if (n < StatusAnfang.size()) return;
        const std::size_t ende = KopfEnde(kopf_, gesucht_);
        if (ende == std::string::npos || ende > MaxKopf) {
            if (kopf_.size() > MaxKopf) return Brechen("header longer than 64 KiB");
            // The last two bytes may yet begin the blank line.
            gesucht_ = kopf_.size() >= 2 ? kopf_.size() - 2 : 0;
            return;
        }
        if (!KopfAuswerten(ende)) return;
        std::string rest = kopf_.substr(ende);
        kopf_.clear();
        gesucht_ = 0;
        if (status_ < 200) {
            // 100 Continue, 103 Early Hints: the real answer follows.
            laenge_ = -1;
            laengeGesehen_ = false;
            transferKodierung_.clear();
            kopf_ = std::move(rest);
            continue;
        }
        if (status_ == 204 || status_ == 304) {
            // These answers never have a body, whatever their header says.
            art_ = Art::Laenge;
            laenge_ = 0;
        }
        stand_ = art_ == Art::Laenge && laenge_ == 0 ? Stand::Fertig : Stand::Koerper;
        if (stand_ == Stand::Koerper) KoerperAufnehmen(rest, koerper);
        return;
    }
}

bool HttpAntwort::KopfAuswerten(std::size_t ende) {
    const std::string_view k(kopf_.data(), ende);
    std::size_t pos = 0;
    bool ersteZeile = true;
    while (pos < k.size()) {
        const std::size_t nl = k.find('\n', pos);
        std::string_view zeile = k.substr(pos, nl - pos);
        pos = nl + 1;
        if (!zeile.empty() && zeile.back() == '\r') zeile.remove_suffix(1);
        if (ersteZeile) {
            ersteZeile = false;
            // "HTTP/1.x 200" and an optional reason phrase.
            if (zeile.size() < 12 || zeile.substr(0, 7) != "HTTP/1." || !IstZiffer(zeile[7]) ||
                zeile[8] != ' ' || zeile[9] < '1' || zeile[9] > '5' || !IstZiffer(zeile[10]) ||
                !IstZiffer(zeile[11]) || (zeile.size() > 12 && zeile[12] != ' ')) {
                Brechen("invalid status line: " + Zitat(zeile));
                return false;
            }
            status_ = (zeile[9] - '0') * 100 + (zeile[10] - '0') * 10 + (zeile[11] - '0');
            grund_ = zeile.size() > 13 ? Zitat(zeile.substr(13)) : std::string();
            continue;
        }
        const std::size_t doppelpunkt = zeile.find(':');
        // Folded continuation lines and lines without a name carry nothing read here.
        if (zeile.empty() || zeile.front() == ' ' || zeile.front() == '\t' ||
            doppelpunkt == std::string_view::npos)
            continue;
        if (!FeldAuswerten(zeile.substr(0, doppelpunkt), Getrimmt(zeile.substr(doppelpunkt + 1))))
            return false;
    }
    if (!transferKodierung_.empty()) {
        if (!GleichOhneFall(Getrimmt(transferKodierung_), "chunked")) {
            Brechen("unsupported Transfer-Encoding: " + Zitat(transferKodierung_));
            return false;
        }
        // The chunks frame the body; a Content-Length beside them means nothing.
        art_ = Art::Chunked;
        chunk_ = Chunk::Groesse;
        laenge_ = -1;
    } else if (laengeGesehen_) {
        art_ = Art::Laenge;
        rest_ = laenge_;
    } else {
        art_ = Art::BisEnde;
    }
    return true;
}

bool HttpAntwort::FeldAuswerten(std::string_view name, std::string_view wert) {
    if (GleichOhneFall(name, "transfer-encoding")) {
        if (!wert.empty())
            transferKodierung_ += (transferKodierung_.empty() ? "" : ", ") + std::string(wert);
        return true;
    }
    if (!GleichOhneFall(name, "content-length")) return true;
    // "Content-Length: 5, 5" repeats one length; any two lengths that differ are no framing a
    // client can trust, and neither is a sign, a blank inside or a number beyond 64 bits.
    std::string_view liste = wert;
    for (;;) {
        const std::size_t komma = liste.find(',');
        std::int64_t l = 0;
        if (!LaengeLesen(Getrimmt(liste.substr(0, komma)), l) || (laengeGesehen_ && l != laenge_)) {
            Brechen("invalid Content-Length: " + Zitat(wert));
            return false;
        }
        laenge_ = l;
        laengeGesehen_ = true;
        if (komma == std::string_view::npos) return true;
        liste.remove_prefix(komma + 1);
    }
}

void HttpAntwort::KoerperAufnehmen(std::string_view d, const KoerperSenke& koerper) {
    switch (art_) {
    case Art::BisEnde:
        Abgeben(d, koerper);
        break;
    case Art::Laenge: {
        // Anything after the announced length is not part of the file.
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(rest_, d.size()));
        Abgeben(d.substr(0, n), koerper);
        rest_ -= static_cast<std::int64_t>(n);
        if (rest_ == 0) stand_ = Stand::Fertig;
        break;
    }
    case Art::Chunked:
        ChunkedAufnehmen(d, koerper);
        break;
    }
}

void HttpAntwort::ChunkedAufnehmen(std::string_view d, const KoerperSenke& koerper) {
    while (!d.empty() && stand_ == Stand::Koerper) {
        switch (chunk_) {
        case Chunk::Groesse:
            if (!ZeileSammeln(d, MaxChunkZeile, "chunk size line too long") ||
                !ChunkZeileAuswerten())
                return;
            break;
        case Chunk::Daten: {
            const auto n = static_cast<std::size_t>(std::min<std::int64_t>(rest_, d.size()));
            Abgeben(d.substr(0, n), koerper);
            d.remove_prefix(n);
            rest_ -= static_cast<std::int64_t>(n);
            if (rest_ == 0) chunk_ = Chunk::DatenEnde;
            break;
        }
        case Chunk::DatenEnde:
            // Only the line end may follow the data; anything else means the sizes lie.
            if (!ZeileSammeln(d, 0, "chunk longer than its size")) return;
            chunk_ = Chunk::Groesse;
            break;
        case Chunk::Trailer:
            if (!ZeileSammeln(d, MaxChunkZeile, "trailer line too long")) return;
            trailerBytes_ += zeile_.size() + 2;
            if (zeile_.empty())
                stand_ = Stand::Fertig;
            else if (trailerBytes_ > MaxKopf)
                return Brechen("trailer longer than 64 KiB");
            zeile_.clear();
            break;
        }
    }
}

bool HttpAntwort::ZeileSammeln(std::string_view& d, std::size_t max, const char* grund) {
    const std::size_t nl = d.find('\n');
    zeile_.append(d.substr(0, nl));
    d.remove_prefix(nl == std::string_view::npos ? d.size() : nl + 1);
    const bool ganz = nl != std::string_view::npos;
    if (ganz && !zeile_.empty() && zeile_.back() == '\r') zeile_.pop_back();
    // A CR at the end of an unfinished line may yet be its line end: judge only what the line
    // surely holds, so that the outcome never depends on where the blocks were cut.
    const bool crOffen = !ganz && !zeile_.empty() && zeile_.back() == '\r';
    if (zeile_.size() - (crOffen ? 1 : 0) > max) {
        Brechen(grund);
        return false;
    }
    return ganz;
}

bool HttpAntwort::ChunkZeileAuswerten() {
    // Hex digits, then optional blanks and ";extensions", which carry nothing for a file.
    std::string_view z = zeile_;
    std::int64_t groesse = 0;
    std::size_t ziffern = 0;
    for (; ziffern < z.size() && HexWert(z[ziffern]) >= 0; ++ziffern) {
        groesse = groesse * 16 + HexWert(z[ziffern]);
        if (groesse > MaxChunk) break;
    }
    z.remove_prefix(ziffern);
    z = Getrimmt(z);
    if (ziffern == 0 || groesse > MaxChunk || (!z.empty() && z.front() != ';')) {
        Brechen("invalid chunk size: " + Zitat(zeile_));
        return false;
    }
    zeile_.clear();
    rest_ = groesse;
    chunk_ = groesse == 0 ? Chunk::Trailer : Chunk::Daten;
    return true;
}

void HttpAntwort::Abgeben(std::string_view d, const KoerperSenke& koerper) {
    if (d.empty()) return;
    koerperBytes_ += static_cast<std::int64_t>(d.size());
    koerper(d);
}

void HttpAntwort::Brechen(std::string grund) {
    stand_ = Stand::Kaputt;
    fehler_ = std::move(grund);
    // A broken answer holds no memory: its header may have been as long as the limit allows.
    kopf_ = std::string();
    zeile_ = std::string();
}

} // namespace fernlader
