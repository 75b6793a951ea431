// A loopback HTTP server for the download tests and the benchmark. It runs on a thread of its own
// (so a client on the test's thread is driven by real socket events) and answers each connection
// with the next scripted answer: blocks sent one by one, a long generated body, then a close or
// an open connection.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fernlader::test {

// Byte i of the long bodies: pseudo-random with a period (a prime) that no block size divides,
// so a block lost, doubled or moved shows in the file.
inline constexpr std::size_t MusterPeriode = 1000003;
inline const std::vector<char>& Muster() {
    static const std::vector<char> m = [] {
        std::vector<char> v(MusterPeriode);
        std::uint32_t x = 2463534242u;
        for (char& c : v) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            c = static_cast<char>(x >> 24);
        }
        return v;
    }();
    return m;
}

struct Antwort {
    // Sent one after another.
    std::vector<std::string> bloecke;
    // Block n (from the second on) waits until Weiter() has been called n times for this
    // connection, so that each block reaches the client on its own.
    bool schrittweise = false;
    // Otherwise this pause comes between two blocks.
    int pauseMs = 0;
    // After the blocks: this many bytes of Muster().
    std::int64_t musterBytes = 0;
    // After the last byte, wait for the client to close instead of closing.
    bool offenLassen = false;
};

class Testserver {
public:
    // Answers the connections in order; connections beyond the list are closed unanswered.
    explicit Testserver(std::vector<Antwort> antworten = {}) : antworten_(std::move(antworten)) {
        lauscher_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int ja = 1;
        ::setsockopt(lauscher_, SOL_SOCKET, SO_REUSEADDR, &ja, sizeof ja);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(lauscher_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(lauscher_, 16);
        socklen_t l = sizeof a;
        ::getsockname(lauscher_, reinterpret_cast<sockaddr*>(&a), &l);
        port_ = ntohs(a.sin_port);
        faden_ = std::thread([this] { Dienen(); });
    }
    ~Testserver() {
        {
            std::lock_guard sperre(mutex_);
            ende_ = true;
        }
        signal_.notify_all();
        faden_.join();
        ::close(lauscher_);
    }
    Testserver(const Testserver&) = delete;
    Testserver& operator=(const Testserver&) = delete;

    std::uint16_t Port() const { return port_; }
    // "http://127.0.0.1:port" + pfad.
    std::string Url(const std::string& pfad = "/") const {
        return "http://127.0.0.1:" + std::to_string(port_) + pfad;
    }
    void Weiter() {
        {
            std::lock_guard sperre(mutex_);
            ++weiter_;
        }
        signal_.notify_all();
    }
    // The requests received so far, as sent.
    std::vector<std::string> Anfragen() const {
        std::lock_guard sperre(mutex_);
        return anfragen_;
    }

private:
    bool Beendet() {
        std::lock_guard sperre(mutex_);
        return ende_;
    }

    // Waits up to ms for fd to become readable; false when the server is being stopped.
    bool Warten(int fd, int ms) {
        for (int verstrichen = 0; verstrichen < ms; verstrichen += 20) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0) return true;
            if (Beendet()) return false;
        }
        return false;
    }

    void Dienen() {
        while (!Beendet()) {
            if (!Warten(lauscher_, 1000 * 60)) continue;
            const int fd = ::accept(lauscher_, nullptr, nullptr);
            if (fd < 0) continue;
            const int ja = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &ja, sizeof ja);
            Antwort a;
            bool vorhanden = false;
            {
                std::lock_guard sperre(mutex_);
                const auto nr = static_cast<std::size_t>(verbindungen_++);
                weiter_ = 0;
                if (nr < antworten_.size()) {
                    a = antworten_[nr];
                    vorhanden = true;
                }
            }
            if (vorhanden && AnfrageLesen(fd)) Beantworten(fd, a);
            ::close(fd);
        }
    }

    bool AnfrageLesen(int fd) {
        std::string anfrage;
        char puffer[4096];
        while (anfrage.find("\r\n\r\n") == std::string::npos) {
            if (!Warten(fd, 5000)) return false;
            const ssize_t n = ::recv(fd, puffer, sizeof puffer, 0);
            if (n <= 0) return false;
            anfrage.append(puffer, static_cast<std::size_t>(n));
        }
        std::lock_guard sperre(mutex_);
        anfragen_.push_back(anfrage);
        return true;
    }

    static bool Senden(int fd, const char* daten, std::size_t n) {
        while (n > 0) {
            const ssize_t k = ::send(fd, daten, n, MSG_NOSIGNAL);
            if (k <= 0) return false;
            daten += k;
            n -= static_cast<std::size_t>(k);
        }
        return true;
    }

    // Until Weiter() has been called n times; false when the client closed or the server stops.
    bool WeiterAbwarten(int fd, int n) {
        for (int i = 0; i < 500; ++i) {
            {
                std::unique_lock sperre(mutex_);
                if (signal_.wait_for(sperre, std::chrono::milliseconds(20),
                                     [&] { return ende_ || weiter_ >= n; }))
                    return !ende_;
            }
            pollfd p{fd, POLLIN, 0};
            char c;
            if (::poll(&p, 1, 0) > 0 && ::recv(fd, &c, 1, MSG_PEEK) <= 0) return false;
        }
        return false;
    }

    void Beantworten(int fd, const Antwort& a) {
        for (std::size_t i = 0; i < a.bloecke.size(); ++i) {
            if (i > 0 && a.schrittweise) {
                if (!WeiterAbwarten(fd, static_cast<int>(i))) return;
            } else if (i > 0 && a.pauseMs > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(a.pauseMs));
            }
            if (!Senden(fd, a.bloecke[i].data(), a.bloecke[i].size())) return;
        }
        const std::vector<char>& m = Muster();
        for (std::int64_t gesendet = 0; gesendet < a.musterBytes;) {
            const auto von = static_cast<std::size_t>(gesendet % MusterPeriode);
            const auto n = static_cast<std::size_t>(
                std::min<std::int64_t>(a.musterBytes - gesendet, MusterPeriode - von));
            if (!Senden(fd, m.data() + von, n)) return;
            gesendet += static_cast<std::int64_t>(n);
        }
        if (!a.offenLassen) return;
        // Until the client closes its end (or the test ends).
        char rest[256];
        while (Warten(fd, 1000 * 60) && ::recv(fd, rest, sizeof rest, 0) > 0) {
        }
    }

    std::vector<Antwort> antworten_;
    int lauscher_ = -1;
    std::uint16_t port_ = 0;
    std::thread faden_;
    mutable std::mutex mutex_;
    std::condition_variable signal_;
    bool ende_ = false;
    int weiter_ = 0;
    int verbindungen_ = 0;
    std::vector<std::string> anfragen_;
};

} // namespace fernlader::test
