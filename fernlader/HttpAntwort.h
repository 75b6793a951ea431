// Reading an HTTP/1.x response from the blocks a socket delivers: the status line and header
// collected over any number of blocks, the body framed by Content-Length, by the chunked transfer
// coding or by the end of the connection. What leaves is the body alone, byte for byte. No Qt and
// no I/O, so it is tested and fuzzed on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace fernlader {

class HttpAntwort {
public:
    enum class Stand {
        // Status line and header fields still arriving.
        Kopf,
        Koerper,
        // The body is complete: its length reached, the last chunk read, or (without a length)
        // the connection closed.
        Fertig,
        // The connection closed before the body was complete.
        Unvollstaendig,
        // The server sent something that is no valid response; Fehler() says what.
        Kaputt,
    };

    // Receives the body bytes in order; the view points into the block being read.
    using KoerperSenke = std::function<void(std::string_view)>;

    // Longest header (and chunked trailer) and longest chunk-size line accepted: more is a broken
    // or hostile server, and memory stays bounded whatever it sends.
    static constexpr std::size_t MaxKopf = 64 * 1024;
    static constexpr std::size_t MaxChunkZeile = 4096;

    // Reads the next received block and hands its body bytes to koerper. Bytes after the end of
    // the body, or after the response broke, are dropped.
    void Aufnehmen(std::string_view block, const KoerperSenke& koerper);
    // The server closed the connection: a body without a length ends here, any other is cut off.
    void Schliessen();

    Stand Zustand() const { return stand_; }
    bool KopfFertig() const { return stand_ != Stand::Kopf; }
    // 0 while the status line is missing; also 0 for a server that answers without one (its
    // bytes are taken as the body, up to the end of the connection).
    int Status() const { return status_; }
    const std::string& Grund() const { return grund_; }
    // Content-Length (0 for 204 and 304, which have no body); -1 when the header has none or the
    // body is chunked.
    std::int64_t Laenge() const { return laenge_; }
    bool Chunked() const { return art_ == Art::Chunked; }
    std::int64_t KoerperBytes() const { return koerperBytes_; }
    const std::string& Fehler() const { return fehler_; }

private:
    enum class Art { BisEnde, Laenge, Chunked };
    enum class Chunk { Groesse, Daten, DatenEnde, Trailer };

    void KopfAufnehmen(std::string_view block, const KoerperSenke& koerper);
    // Reads the header in kopf_[0, ende); false when it is broken.
    bool KopfAuswerten(std::size_t ende);
    bool FeldAuswerten(std::string_view name, std::string_view wert);
    void KoerperAufnehmen(std::string_view d, const KoerperSenke& koerper);
    void ChunkedAufnehmen(std::string_view d, const KoerperSenke& koerper);
    // Collects one line of the chunked framing into zeile_; true when it is complete. A line
    // longer than max breaks the response with grund.
    bool ZeileSammeln(std::string_view& d, std::size_t max, const char* grund);
    bool ChunkZeileAuswerten();
    void Abgeben(std::string_view d, const KoerperSenke& koerper);
    void Brechen(std::string grund);

    Stand stand_ = Stand::Kopf;
    Art art_ = Art::BisEnde;
    Chunk chunk_ = Chunk::Groesse;
    std::string kopf_;
    // How far kopf_ has been searched for the blank line, so a header arriving byte by byte is
    // not searched from its start again for every byte.
    std::size_t gesucht_ = 0;
    std::string zeile_;
    std::size_t trailerBytes_ = 0;
    int status_ = 0;
    std::string grund_;
    std::int64_t laenge_ = -1;
    std::string transferKodierung_;
    bool laengeGesehen_ = false;
    // Body bytes still expected: of the whole body (Art::Laenge) or of the current chunk.
    std::int64_t rest_ = 0;
    std::int64_t koerperBytes_ = 0;
    std::string fehler_;
};

} // namespace fernlader
