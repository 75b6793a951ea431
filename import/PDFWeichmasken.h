// Soft masks of a PDF file: the streams that only ever serve as the content of a soft mask. Their
// drawing is never painted (often it is a page-size "re f"), so the content reader leaves them out.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace konturo {

// Positions of the keyword "stream" of every stream that belongs to a soft mask: the form named
// by /G of a dictionary with /S /Luminosity or /S /Alpha, and every object that only such streams
// reach through references ("N G R" in their dictionaries). An object that something else refers
// to as well (a form the page also paints) is kept. Dictionaries of object streams (/ObjStm) are
// read too; their inflated data counts against grenze. Sorted ascending.
std::vector<std::size_t> WeichmaskenStroeme(std::string_view datei, std::size_t grenze);

} // namespace konturo
