#include "lang/SplitText.h"

namespace pellucor::lang {

std::vector<std::string> SplitText(std::string_view text, std::string_view separator, char escape,
                                   std::string_view quotes) {
    std::vector<std::string> pieces;
    std::string piece;
    bool quoted = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == escape) {
            if (i + 1 < text.size()) piece += text[i + 1];
            i += 2;
        } else if (quotes.find(c) != std::string_view::npos) {
            quoted = !quoted;
            ++i;
        } else if (quoted) {
            piece += c;
            ++i;
        } else if (!separator.empty() && text.substr(i).starts_with(separator)) {
            pieces.push_back(std::move(piece));
            piece.clear();
            i += separator.size();
        } else {
            piece += c;
            ++i;
        }
    }
    pieces.push_back(std::move(piece));
    return pieces;
}

} // namespace pellucor::lang
