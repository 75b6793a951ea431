// File-path helpers and the proposed export name.
#include "output/FSO_Funktionen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>

namespace konturo {

namespace {

std::size_t LetzterTrenner(const std::string& pfad) { return pfad.find_last_of("/\\"); }

std::string Gross(std::string t) {
    for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return t;
}

std::string BlankEntfernen(const std::string& t) {
    const std::size_t a = t.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    const std::size_t b = t.find_last_not_of(' ');
    return t.substr(a, b - a + 1);
}

// The first n characters of a UTF-8 text; a byte that is not valid UTF-8 counts as one character.
std::string ErsteZeichen(const std::string& text, std::size_t n) {
    std::size_t i = 0;
    for (std::size_t zeichen = 0; zeichen < n && i < text.size(); ++zeichen) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
    return text.substr(0, i);
}

std::string Ersetzen(std::string name) {
    for (char& c : name) {
        switch (c) {
        case '\\':
        case '/':
        case '|':
        case ' ':
        case '"':
        case '\'':
        case '>':
        case '<':
        case ';':
        case '.':
        case '=':
        case ':':
            c = '_';
            break;
        default:
            break;
        }
    }
    return name;
}

Dateifehler FehlerAusErrno(int nummer) {
    switch (nummer) {
    case ENOENT:
    case ENOTDIR:
        return Dateifehler::Fehlt;
    case EISDIR:
        return Dateifehler::Ordner;
    case EACCES:
    case EPERM:
        return Dateifehler::KeinZugriff;
    default:
        return Dateifehler::Lesefehler;
    }
}

// A descriptor closed when it goes out of scope.
class Deskriptor {
public:
    explicit Deskriptor(int fd) : fd_(fd) {}
    ~Deskriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Deskriptor(const Deskriptor&) = delete;
    Deskriptor& operator=(const Deskriptor&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// Opens the path for reading and checks what it is. O_NONBLOCK keeps the open from waiting for
// a writer when the path is a pipe; for a regular file the flag changes nothing.
// The caller closes fd whatever the result.
Dateifehler Oeffnen(const std::string& pfad, std::uintmax_t grenze, int& fd, struct stat& info) {
    if (pfad.empty()) return Dateifehler::Fehlt;
    fd = ::open(pfad.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return FehlerAusErrno(errno);
    if (::fstat(fd, &info) != 0) return FehlerAusErrno(errno);
    if (S_ISDIR(info.st_mode)) return Dateifehler::Ordner;
    if (!S_ISREG(info.st_mode)) return Dateifehler::KeineDatei;
    if (info.st_size < 0 || static_cast<std::uintmax_t>(info.st_size) > grenze)
        return Dateifehler::ZuGross;
    return Dateifehler::Keiner;
}

} // namespace

std::string DateiName(const std::string& pfad) {
    const std::size_t t = LetzterTrenner(pfad);
    return t == std::string::npos ? pfad : pfad.substr(t + 1);
}

std::string DateiTitel(const std::string& pfad) {
    const std::string name = BlankEntfernen(DateiName(pfad));
    const std::size_t punkt = name.rfind('.');
    return punkt == std::string::npos ? name : name.substr(0, punkt);
}

std::string DateiEndung(const std::string& pfad) {
    const std::string name = DateiName(pfad);
    const std::size_t punkt = name.rfind('.');
    return Gross(punkt == std::string::npos ? name : name.substr(punkt + 1));
}

std::string Verzeichnis(const std::string& pfad) {
    const std::size_t t = LetzterTrenner(pfad);
    return t == std::string::npos ? pfad : pfad.substr(0, t);
}

bool DateiExistiert(const std::string& pfad) {
    if (pfad.empty()) return false;
    std::error_code ec;
    // Only a regular file (or a link to one): a folder is no file, and a device or pipe would
    // block or never end when a reader opens it.
    return std::filesystem::is_regular_file(pfad, ec);
}

Dateifehler DateiPruefen(const std::string& pfad, std::uintmax_t grenze) {
    int roh = -1;
    struct stat info {};
    const Dateifehler fehler = Oeffnen(pfad, grenze, roh, info);
    const Deskriptor fd(roh);
    return fehler;
}

Dateifehler DateiEinlesen(const std::string& pfad, std::uintmax_t grenze, std::string& inhalt) {
    inhalt.clear();
    int roh = -1;
    struct stat info {};
    const Dateifehler fehler = Oeffnen(pfad, grenze, roh, info);
    const Deskriptor fd(roh);
    if (fehler != Dateifehler::Keiner) return fehler;
    // One buffer of the size the file has now, plus one byte to notice a file that grew.
    const std::size_t erwartet = static_cast<std::size_t>(info.st_size);
    inhalt.resize(erwartet + 1);
    std::size_t gelesen = 0;
    for (;;) {
        if (gelesen == inhalt.size()) {
            if (inhalt.size() > grenze) {
                inhalt.clear();
                return Dateifehler::ZuGross;
            }
            inhalt.resize(std::min<std::uintmax_t>(grenze + 1, inhalt.size() * 2));
        }
        const ssize_t n = ::read(fd.fd(), inhalt.data() + gelesen, inhalt.size() - gelesen);
        if (n < 0) {
            if (errno == EINTR) continue;
            inhalt.clear();
            return Dateifehler::Lesefehler;
        }
        if (n == 0) break;
        gelesen += static_cast<std::size_t>(n);
    }
    if (gelesen > grenze) {
        inhalt.clear();
        return Dateifehler::ZuGross;
    }
    inhalt.resize(gelesen);
    return Dateifehler::Keiner;
}

std::string DateifehlerText(Dateifehler fehler, std::uintmax_t grenze) {
    switch (fehler) {
    case Dateifehler::Keiner:
        break;
    case Dateifehler::Fehlt:
        return "no such file";
    case Dateifehler::Ordner:
        return "is a directory";
    case Dateifehler::KeineDatei:
        return "not a regular file";
    case Dateifehler::KeinZugriff:
        return "permission denied";
    case Dateifehler::ZuGross:
        return grenze >= (std::uintmax_t{1} << 20)
                   ? "larger than " + std::to_string(grenze >> 20) + " MiB"
                   : "larger than " + std::to_string(grenze) + " bytes";
    case Dateifehler::Lesefehler:
        return "read error";
    }
    return {};
}

bool OrdnerExistiert(const std::string& pfad) {
    if (pfad.empty()) return false;
    std::error_code ec;
    return std::filesystem::is_directory(pfad, ec);
}

bool PseudoDateisystem(const std::string& ordner) {
    std::error_code ec;
    const std::filesystem::path echt = std::filesystem::weakly_canonical(ordner, ec);
    if (ec) return false;
    const std::string pfad = echt.string();
    for (const char* wurzel : {"/proc", "/sys", "/dev"}) {
        const std::string w = wurzel;
        if (pfad == w || pfad.rfind(w + "/", 0) == 0) {
            // Shared memory under /dev is an ordinary writable tmpfs.
            return pfad != "/dev/shm" && pfad.rfind("/dev/shm/", 0) != 0;
        }
    }
    return false;
}

std::string TempOrdner(bool mitTrenner) {
    std::error_code ec;
    std::string ordner = std::filesystem::temp_directory_path(ec).string();
    if (ec || ordner.empty()) ordner = "/tmp";
    while (ordner.size() > 1 && ordner.back() == '/') ordner.pop_back();
    if (mitTrenner && ordner.back() != '/') ordner += '/';
    return ordner;
}

std::string OhneEndtrenner(std::string pfad) {
    if (pfad.size() > 1 && (pfad.back() == '\\' || pfad.back() == '/')) pfad.pop_back();
    return pfad;
}

std::string VorgeschlagenerName(const std::string& aktDatei, const std::string& textAnfang) {
    if (!aktDatei.empty()) return Ersetzen(DateiTitel(aktDatei));
    if (!textAnfang.empty()) return Ersetzen(ErsteZeichen(textAnfang, 8));
    return "Grafik";
}

} // namespace konturo
