#pragma once

// Help files damaged on purpose: a compiled help file's bytes, with the places of what its
// directory lists, to change before writing them out again.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <optional>
#include <string>

class HelpFilePatch {
public:
    explicit HelpFilePatch(const std::string& path) {
        QFile f(QString::fromStdString(path));
        if (f.open(QIODevice::ReadOnly))
            m_bytes = f.readAll();
    }

    QByteArray& bytes() { return m_bytes; }
    bool isRead() const { return m_bytes.size() > 0x60; }

    // Where the directory header sits, and its "first listing chunk".
    qsizetype directory() const { return static_cast<qsizetype>(u64(0x48)); }
    qsizetype firstListingField() const { return directory() + 0x20; }
    // Where section 0 (plain) starts.
    qsizetype dataOffset() const { return static_cast<qsizetype>(u64(0x58)); }

    // An entry of the listing: its section, start and length, and where each of these numbers
    // is written in the file.
    struct Entry {
        quint64 space = 0, start = 0, length = 0;
        qsizetype spaceAt = 0, startAt = 0, lengthAt = 0;
    };
    std::optional<Entry> entry(const QByteArray& name) const {
        const qsizetype header = directory();
        const auto chunkSize = static_cast<qsizetype>(u32(header + 0x10));
        const qsizetype first = header + static_cast<qsizetype>(u32(header + 0x08));
        const auto chunks = static_cast<qsizetype>(u32(header + 0x2C));
        for (qsizetype n = 0; n < chunks; ++n) {
            const qsizetype chunk = first + n * chunkSize;
            if (m_bytes.mid(chunk, 4) != "PMGL")
                continue;
            const qsizetype end = chunk + chunkSize - static_cast<qsizetype>(u32(chunk + 4));
            for (qsizetype at = chunk + 0x14; at < end;) {
                const auto length = static_cast<qsizetype>(number(at));
                const QByteArray found = m_bytes.mid(at, length);
                at += length;
                Entry e;
                e.spaceAt = at;
                e.space = number(at);
                e.startAt = at;
                e.start = number(at);
                e.lengthAt = at;
                e.length = number(at);
                if (found == name)
                    return e;
            }
        }
        return std::nullopt;
    }

    // Writes `value` over the number at `at`, in as many bytes as the number there takes.
    void setNumber(qsizetype at, quint64 value) {
        qsizetype end = at;
        while (static_cast<unsigned char>(m_bytes[end]) >= 0x80)
            ++end;
        for (qsizetype i = end; i >= at; --i) {
            m_bytes[i] = static_cast<char>((value & 0x7F) | (i == end ? 0 : 0x80));
            value >>= 7;
        }
    }

    void setU32(qsizetype at, quint32 value) {
        qToLittleEndian<quint32>(value, m_bytes.data() + at);
    }
    quint32 u32(qsizetype at) const { return qFromLittleEndian<quint32>(m_bytes.constData() + at); }
    quint64 u64(qsizetype at) const { return qFromLittleEndian<quint64>(m_bytes.constData() + at); }

    // Gives the #SYSTEM records of `code` a code that nothing reads.
    void hideSystemRecords(quint16 code) {
        const auto system = entry("/#SYSTEM");
        if (!system || system->space != 0)
            return;
        const qsizetype begin = dataOffset() + static_cast<qsizetype>(system->start);
        const qsizetype end = begin + static_cast<qsizetype>(system->length);
        for (qsizetype at = begin + 4; at + 4 <= end;) {
            if (qFromLittleEndian<quint16>(m_bytes.constData() + at) == code)
                qToLittleEndian<quint16>(0x7E, m_bytes.data() + at);
            at += 4 + qFromLittleEndian<quint16>(m_bytes.constData() + at + 2);
        }
    }

    // Where the compressed section's bytes start in the file.
    qsizetype compressedData() const {
        const auto content = entry("::DataSpace/Storage/MSCompressed/Content");
        return content ? dataOffset() + static_cast<qsizetype>(content->start) : 0;
    }

    // Where compressed block `b` starts in the file, from the section's reset table.
    qsizetype compressedBlock(quint32 b) const {
        const auto table = entry("::DataSpace/Storage/MSCompressed/Transform/"
                                 "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable");
        if (!table)
            return 0;
        const qsizetype at = dataOffset() + static_cast<qsizetype>(table->start);
        if (b >= u32(at + 4))
            return 0;
        return compressedData() + static_cast<qsizetype>(u64(at + u32(at + 0x0C) + 8 * b));
    }

    std::string writeTo(const QDir& dir, const char* name) const {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(m_bytes);
        return path.toStdString();
    }

private:
    quint64 number(qsizetype& at) const {
        quint64 value = 0;
        for (;;) {
            const auto byte = static_cast<unsigned char>(m_bytes[at++]);
            value = (value << 7) | (byte & 0x7F);
            if (byte < 0x80)
                return value;
        }
    }

    QByteArray m_bytes;
};
