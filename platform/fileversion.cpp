#include "fileversion.h"

#include <elf.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

namespace {

// Notes are small; a larger note segment is damage, not metadata worth reading.
constexpr quint64 kMaxNoteSegment = 64 * 1024;
constexpr char kNativeData = std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

// Every read is checked against the file's size, so a damaged header cannot make one run wild.
QByteArray ReadAt(QFile& file, quint64 offset, quint64 size) {
    const auto fileSize = static_cast<quint64>(file.size());
    if (offset > fileSize || size > fileSize - offset) return {};
    if (!file.seek(static_cast<qint64>(offset))) return {};
    QByteArray bytes = file.read(static_cast<qint64>(size));
    return static_cast<quint64>(bytes.size()) == size ? bytes : QByteArray();
}

template <class T>
T StructAt(const QByteArray& bytes, quint64 offset) {
    T value;
    std::memcpy(&value, bytes.constData() + offset, sizeof value);
    return value;
}

quint64 AlignUp(quint64 value, quint64 align) {
    return (value + align - 1) / align * align;
}

// The payload of the FDO packaging metadata note among a note segment's notes.
std::optional<QByteArray> FindPackageMetadata(const QByteArray& notes, quint64 align) {
    static const QByteArray kOwner("FDO", 4);  // with its terminating NUL
    const auto size = static_cast<quint64>(notes.size());
    quint64 pos = 0;
    while (sizeof(Elf64_Nhdr) <= size - pos) {
        const auto note = StructAt<Elf64_Nhdr>(notes, pos);  // the same layout as Elf32_Nhdr
        const quint64 nameAt = pos + sizeof note;
        const quint64 descAt = nameAt + AlignUp(note.n_namesz, align);
        if (descAt > size || note.n_descsz > size - descAt) return std::nullopt;
        if (note.n_type == NT_FDO_PACKAGING_METADATA && notes.mid(nameAt, note.n_namesz) == kOwner)
            return notes.mid(descAt, note.n_descsz);
        pos = std::min(size, descAt + AlignUp(note.n_descsz, align));
    }
    return std::nullopt;
}

template <class Ehdr, class Phdr>
std::optional<QByteArray> PackageMetadataOf(QFile& file) {
    const QByteArray headerBytes = ReadAt(file, 0, sizeof(Ehdr));
    if (headerBytes.isEmpty()) return std::nullopt;
    const auto header = StructAt<Ehdr>(headerBytes, 0);
    if (header.e_phentsize != sizeof(Phdr)) return std::nullopt;
    const QByteArray table = ReadAt(file, header.e_phoff, header.e_phnum * sizeof(Phdr));
    for (quint64 at = 0; at < static_cast<quint64>(table.size()); at += sizeof(Phdr)) {
        const auto segment = StructAt<Phdr>(table, at);
        if (segment.p_type != PT_NOTE || segment.p_filesz > kMaxNoteSegment) continue;
        // 64-bit property notes are padded to 8 bytes; every other note to 4.
        const quint64 align = segment.p_align == 8 ? 8 : 4;
        const QByteArray notes = ReadAt(file, segment.p_offset, segment.p_filesz);
        if (auto metadata = FindPackageMetadata(notes, align)) return metadata;
    }
    return std::nullopt;
}

std::optional<QByteArray> PackageMetadataOf(QFile& file) {
    const QByteArray ident = ReadAt(file, 0, EI_NIDENT);
    if (!ident.startsWith(ELFMAG) || ident[EI_DATA] != kNativeData) return std::nullopt;
    switch (ident[EI_CLASS]) {
        case ELFCLASS64:
            return PackageMetadataOf<Elf64_Ehdr, Elf64_Phdr>(file);
        case ELFCLASS32:
            return PackageMetadataOf<Elf32_Ehdr, Elf32_Phdr>(file);
        default:
            return std::nullopt;
    }
}

}  // namespace

QString PackageNoteVersion(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const auto metadata = PackageMetadataOf(file);
    if (!metadata) return {};
    // The JSON ends at the payload's terminating NUL.
    const qsizetype end = metadata->indexOf('\0');
    const QByteArray json = end < 0 ? *metadata : metadata->left(end);
    return QJsonDocument::fromJson(json).object().value(QStringLiteral("version")).toString();
}
