#include "platform/reportengine/PdfObjects.h"

#include <QIODevice>

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace platform::reportengine {

namespace {

// Page content compresses to a fifth at zlib's fastest level, in a fraction of the time the
// default level takes.
constexpr int CompressionLevel = 1;

constexpr double Powers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};

} // namespace

// One compressor for every stream of the file: a page is small, and setting up zlib anew for
// each would cost more than compressing it.
struct PdfObjects::Deflater
{
    z_stream stream{};
    bool ready = false;
    QByteArray out;

    Deflater() { ready = deflateInit(&stream, CompressionLevel) == Z_OK; }
    ~Deflater()
    {
        if (ready)
            deflateEnd(&stream);
    }

    // Leaves in out the zlib stream of the data, which FlateDecode reads.
    bool deflate(const char *data, qsizetype size)
    {
        if (!ready || deflateReset(&stream) != Z_OK)
            return false;
        out.resize(qsizetype(deflateBound(&stream, uLong(size))));
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
        stream.avail_in = uInt(size);
        stream.next_out = reinterpret_cast<Bytef *>(out.data());
        stream.avail_out = uInt(out.size());
        if (::deflate(&stream, Z_FINISH) != Z_STREAM_END)
            return false;
        out.resize(qsizetype(stream.total_out));
        return true;
    }
};

void appendInt(QByteArray &out, long long value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end - digits);
}

void appendReal(QByteArray &out, double value, int decimals)
{
    decimals = std::clamp(decimals, 0, 10);
    const double scale = Powers[decimals];
    const long long scaled = std::llround(value * scale);
    if (scaled % (long long)scale == 0) {
        appendInt(out, scaled / (long long)scale);
        return;
    }
    char digits[40];
    auto end = std::to_chars(digits, digits + sizeof digits, double(scaled) / scale,
                             std::chars_format::fixed, decimals)
                   .ptr;
    while (end[-1] == '0')
        --end;
    out.append(digits, end - digits);
}

void appendHex(QByteArray &out, unsigned code, int bytes)
{
    static const char hex[] = "0123456789ABCDEF";
    char digits[8];
    int n = 0;
    for (int shift = std::min(bytes, 4) * 8 - 4; shift >= 0; shift -= 4)
        digits[n++] = hex[(code >> shift) & 0xf];
    out.append(digits, n);
}

QByteArray pdfString(const QString &text)
{
    QByteArray out("<FEFF");
    for (const QChar c : text)
        appendHex(out, c.unicode(), 2);
    out.append('>');
    return out;
}

PdfObjects::PdfObjects(QIODevice &device)
    : m_deflater(std::make_unique<Deflater>()), m_device(device)
{
    // The comment of high bytes tells a file transfer that the file is binary.
    put(QByteArrayLiteral("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n"));
}

PdfObjects::~PdfObjects() = default;

int PdfObjects::reserve()
{
    m_offsets.push_back(-1);
    return int(m_offsets.size());
}

// Starts object id here: the cross-reference table points at this offset.
void PdfObjects::begin(int id)
{
    m_offsets[size_t(id - 1)] = m_offset;
    QByteArray head;
    appendInt(head, id);
    head.append(" 0 obj\n");
    put(head);
}

void PdfObjects::write(int id, const QByteArray &body)
{
    begin(id);
    put(body);
    put(QByteArrayLiteral("\nendobj\n"));
}

void PdfObjects::writeStream(int id, const QByteArray &dictionary, const char *data, qsizetype size)
{
    if (!m_deflater->deflate(data, size))
        m_ok = false;
    const QByteArray &packed = m_deflater->out;
    const qsizetype length = m_ok ? packed.size() : 0;
    QByteArray body("<< ");
    body.append(dictionary);
    body.append(" /Filter /FlateDecode /Length ");
    appendInt(body, length);
    body.append(" >>\nstream\n");
    begin(id);
    put(body);
    if (length > 0)
        put(packed.constData(), length);
    put(QByteArrayLiteral("\nendstream\nendobj\n"));
}

bool PdfObjects::finish(int catalog, int info)
{
    const qint64 start = m_offset;
    QByteArray table("xref\n0 ");
    appendInt(table, qint64(m_offsets.size()) + 1);
    table.append("\n0000000000 65535 f \n");
    for (const qint64 offset : m_offsets) {
        // An object reserved and never written is a free entry.
        char entry[48];
        std::snprintf(entry, sizeof entry, "%010lld %05d %c \n", offset < 0 ? 0LL : offset,
                      offset < 0 ? 65535 : 0, offset < 0 ? 'f' : 'n');
        table.append(entry, 20);
    }
    table.append("trailer\n<< /Size ");
    appendInt(table, qint64(m_offsets.size()) + 1);
    table.append(" /Root ");
    appendInt(table, catalog);
    table.append(" 0 R /Info ");
    appendInt(table, info);
    table.append(" 0 R >>\nstartxref\n");
    appendInt(table, start);
    table.append("\n%%EOF\n");
    put(table);
    return m_ok;
}

void PdfObjects::put(const char *data, qsizetype size)
{
    if (m_ok && m_device.write(data, size) != size)
        m_ok = false;
    m_offset += size;
}

} // namespace platform::reportengine
