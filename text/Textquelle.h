// The text source seam: the plain text to convert and, per position, the character with its font
// or a line break. The Qt implementation reads the text window's rich text; TextquelleKlartext
// serves tests, the command line and batch runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace konturo {

struct Zeichenformat {
    std::string Schriftart = "Arial";
    double Groesse = 24; // points
    bool Fett = false;
    bool Kursiv = false;
};

struct TextPosition {
    enum class Art { Zeichen, Zeilenumbruch, Leer };
    // Zeichen: a character with its format. Zeilenumbruch: the CR of a CR LF pair (the LF is the
    // next position and reads as Leer). Leer: nothing selectable (past the end).
    Art art = Art::Leer;
    char32_t zeichen = 0; // Unicode code point
    Zeichenformat format;
};

class Textquelle {
public:
    virtual ~Textquelle() = default;
    // Number of positions of the plain text; a line break (CR LF) counts as two.
    virtual std::int32_t Laenge() const = 0;
    virtual TextPosition An(std::int32_t position) const = 0;
    // The plain text as UTF-8, line breaks as CR LF.
    virtual std::string KlarText() const = 0;
    // Replaces the whole text (batch runs), keeping the format at the start of the old text.
    virtual void TextSetzen(const std::string& utf8) = 0;
};

// A text source over plain text in one format, or over runs of formatted characters.
class TextquelleKlartext : public Textquelle {
public:
    TextquelleKlartext() = default;
    TextquelleKlartext(const std::string& utf8, Zeichenformat format);

    std::int32_t Laenge() const override;
    TextPosition An(std::int32_t position) const override;
    std::string KlarText() const override;
    void TextSetzen(const std::string& utf8) override;

    // Appends text in the given format; LF, CR and CR LF become one CR LF line break.
    void Anhaengen(const std::string& utf8, const Zeichenformat& format);
    void Leeren();

    Zeichenformat standardFormat;

private:
    // A position holds the number of its format instead of a copy: a text file of tens of
    // megabytes then takes twelve bytes per character, not a font name each.
    struct Eintrag {
        TextPosition::Art art;
        char32_t zeichen;
        std::uint32_t format;
    };
    std::uint32_t FormatNummer(const Zeichenformat& format);

    std::vector<Eintrag> positionen_;
    std::vector<Zeichenformat> formate_;
};

// UTF-8 to code points; invalid bytes are taken as Windows-1252 characters.
std::u32string Utf8Dekodieren(const std::string& utf8);
std::string Utf8Kodieren(const std::u32string& text);
std::string Utf8Kodieren(char32_t zeichen);
// True when the bytes are valid UTF-8.
bool IstUtf8(const std::string& bytes);
// False for bytes that are no text someone typed: a NUL byte, or more than one in fifty bytes a
// control character other than tab, line feed, form feed and carriage return (a program, an
// image or a compressed file chosen by mistake).
bool IstTextdatei(const std::string& bytes);
// Windows-1252 bytes to UTF-8.
std::string Cp1252NachUtf8(const std::string& bytes);

// A text file larger than this is not a text anyone types; refusing it keeps a wrong choice of
// file from filling the memory.
inline constexpr std::uintmax_t MaxTextDatei = std::uintmax_t{64} << 20;

// The text of a plain text file's bytes as UTF-8: a UTF-8 byte order mark is dropped, bytes that
// are not valid UTF-8 are read as Windows-1252. False, with text empty, for bytes that are no
// text (IstTextdatei).
bool KlartextAusBytes(std::string bytes, std::string& text);
// A code point to Windows-1252; '?' when it has no such byte.
unsigned char Utf32NachCp1252(char32_t zeichen);

} // namespace konturo
