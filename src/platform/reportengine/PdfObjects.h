#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class QIODevice;

namespace platform::reportengine {

// Numbers as a PDF file writes them: a real with at most the given digits after the point.
void appendInt(QByteArray &out, long long value);
void appendReal(QByteArray &out, double value, int decimals = 3);
// A glyph code as hex digits, two to a byte.
void appendHex(QByteArray &out, unsigned code, int bytes);
// A text string in UTF-16 hex digits, which no character can break out of.
QByteArray pdfString(const QString &text);

// The objects of a PDF file, written to a device one after another; it keeps where each one
// starts for the cross-reference table. A write the device refuses is remembered.
class PdfObjects
{
public:
    explicit PdfObjects(QIODevice &device);
    ~PdfObjects();

    // A number for an object that is written later.
    int reserve();
    void write(int id, const QByteArray &body);
    // A compressed stream; dictionary holds its entries but its length and filter.
    void writeStream(int id, const QByteArray &dictionary, const char *data, qsizetype size);
    void writeStream(int id, const QByteArray &dictionary, const QByteArray &data)
    {
        writeStream(id, dictionary, data.constData(), data.size());
    }
    // The cross-reference table and the trailer; false when any write failed.
    bool finish(int catalog, int info);
    bool ok() const { return m_ok; }

private:
    void begin(int id);
    void put(const char *data, qsizetype size);
    void put(const QByteArray &bytes) { put(bytes.constData(), bytes.size()); }

    struct Deflater;
    std::unique_ptr<Deflater> m_deflater;
    QIODevice &m_device;
    qint64 m_offset = 0;
    std::vector<qint64> m_offsets; // of object 1 onwards; -1 while not written
    bool m_ok = true;
};

} // namespace platform::reportengine
