// celvane-gdsread: reads one GDSII file with libGDSII and writes its cells, unflattened, to
// standard output. The program runs it as a separate process because the library trusts its
// input: a damaged or crafted file can make it recurse without end, allocate without bound,
// dereference missing records or call exit(). Here that costs only this process, which the
// program watches with a timeout; it is also the only code that links the library.
//
// Output (text, numbers in the C locale), written only once the whole file has been read:
//   celvane-gdsread 1
//   unit <layout units per database unit>
//   cell <name in hex>
//   b <layer> <points> <x y ...>                          polygon (BOUNDARY, BOX)
//   p <layer> <width> <path type> <points> <x y ...>      path
//   r <cell name in hex> <reflect> <magnification> <angle> <columns> <rows> <points> <x y ...>
//   end
#include <libGDSII.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace libGDSII {
// The constructor flattens the whole hierarchy at once, with no bound on depth or count, and
// that is where crafted files hang or crash it. The library calls this through the dynamic
// symbol table, so this empty definition replaces it: the program flattens with bounds itself.
void GDSIIData::Flatten(double) {}
} // namespace libGDSII

namespace {

// Enough for any real mask layout; a file that needs more is refused by the kernel.
const rlim_t memoryLimit = rlim_t(2) << 30;
const rlim_t cpuSeconds = 30;

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define CELVANE_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define CELVANE_SANITIZED 1
#endif

void limitResources()
{
#ifndef CELVANE_SANITIZED
    // The sanitizers reserve terabytes of address space: they cannot run under this limit.
    const rlimit memory = {memoryLimit, memoryLimit};
    setrlimit(RLIMIT_AS, &memory);
#endif
    const rlimit cpu = {cpuSeconds, cpuSeconds};
    setrlimit(RLIMIT_CPU, &cpu);
}

std::string hex(const std::string &text)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : text) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out.empty() ? std::string("-") : out;
}

void append(std::string &out, const char *format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    out += buffer;
}

void appendXY(std::string &out, const iVec &xy)
{
    out += ' ';
    out += std::to_string(xy.size() / 2);
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
        out += ' ';
        out += std::to_string(xy[i]);
        out += ' ';
        out += std::to_string(xy[i + 1]);
    }
    out += '\n';
}

/// The mirror flags of the placements (SREF, AREF) of each cell, in file order.
struct Mirrors
{
    std::vector<std::string> cells;
    std::vector<std::vector<bool>> placements;
};

/// libGDSII takes a placement's mirror flag from the wrong bit of its STRANS record (0x0100
/// instead of 0x8000, the bit layout editors set), so mirrored placements would come out
/// unmirrored. The flags are read from the file's records here instead.
bool readMirrors(const char *fileName, Mirrors &mirrors)
{
    std::ifstream file(fileName, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (!file.eof() && file.fail())
        return false;
    bool inPlacement = false;
    for (size_t at = 0; at + 4 <= bytes.size();) {
        const size_t length = size_t(static_cast<unsigned char>(bytes[at])) << 8 |
                              static_cast<unsigned char>(bytes[at + 1]);
        const int type = static_cast<unsigned char>(bytes[at + 2]);
        if (length < 4 || at + length > bytes.size())
            return false;
        const char *payload = bytes.data() + at + 4;
        const size_t size = length - 4;
        if (type == 0x04) // ENDLIB
            return true;
        if (type == 0x06) { // STRNAME
            std::string name(payload, size);
            while (!name.empty() && name.back() == '\0')
                name.pop_back();
            mirrors.cells.push_back(name);
            mirrors.placements.emplace_back();
        } else if (type == 0x0A || type == 0x0B) { // SREF, AREF
            if (mirrors.placements.empty())
                return false;
            mirrors.placements.back().push_back(false);
            inPlacement = true;
        } else if (type == 0x1A && inPlacement && size >= 2) { // STRANS
            mirrors.placements.back().back() = (static_cast<unsigned char>(payload[0]) & 0x80) != 0;
        } else if (type == 0x11) { // ENDEL
            inPlacement = false;
        }
        at += length;
    }
    return true;
}

bool describe(const libGDSII::GDSIIData &data, const Mirrors &mirrors, std::string &out)
{
    if (mirrors.cells.size() != data.Structs.size())
        return false;
    out = "celvane-gdsread 1\nunit ";
    append(out, "%.17g", data.FileUnits[0]);
    out += '\n';
    for (size_t c = 0; c < data.Structs.size(); ++c) {
        const GDSIIStruct *cell = data.Structs[c];
        if (!cell || !cell->Name || mirrors.cells[c] != *cell->Name)
            return false;
        out += "cell " + hex(*cell->Name) + '\n';
        const std::vector<bool> &mirrored = mirrors.placements[c];
        size_t placement = 0;
        for (const GDSIIElement *e : cell->Elements) {
            if (!e)
                return false;
            switch (e->Type) {
            case BOUNDARY:
            case BOX:
                out += "b " + std::to_string(e->Layer);
                appendXY(out, e->XY);
                break;
            case PATH:
                out += "p " + std::to_string(e->Layer) + ' ' + std::to_string(e->Width) + ' ' +
                       std::to_string(e->PathType);
                appendXY(out, e->XY);
                break;
            case SREF:
            case AREF:
                if (!e->SName || placement >= mirrored.size())
                    return false;
                out += "r " + hex(*e->SName) + (mirrored[placement++] ? " 1 " : " 0 ");
                append(out, "%.17g ", e->Mag);
                append(out, "%.17g ", e->Angle);
                out += std::to_string(e->Type == AREF ? e->Columns : 0) + ' ' +
                       std::to_string(e->Type == AREF ? e->Rows : 0);
                appendXY(out, e->XY);
                break;
            default: // texts and nodes cover nothing
                break;
            }
        }
        if (placement != mirrored.size())
            return false;
    }
    out += "end\n";
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: celvane-gdsread FILE.gds\n");
        return 2;
    }
    limitResources();
    // The library prints its warnings on standard output: only the description may go there.
    const int output = dup(STDOUT_FILENO);
    if (output < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return 3;
    std::string text;
    try {
        // Never destroyed: the library's destructor frees pointers that a damaged file leaves
        // unset. The process ends right after.
        const libGDSII::GDSIIData *data = new libGDSII::GDSIIData(argv[1]);
        if (data->ErrMsg) {
            std::fprintf(stderr, "celvane-gdsread: %s\n", data->ErrMsg->c_str());
            return 1;
        }
        Mirrors mirrors;
        if (!readMirrors(argv[1], mirrors) || !describe(*data, mirrors, text)) {
            std::fprintf(stderr, "celvane-gdsread: the file holds a damaged record\n");
            return 1;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "celvane-gdsread: %s\n", e.what());
        return 1;
    }
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = write(output, text.data() + written, text.size() - written);
        if (n <= 0)
            return 4;
        written += size_t(n);
    }
    std::fflush(stdout);
    _exit(0);
}
