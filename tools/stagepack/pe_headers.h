// The one part of a Windows executable's headers stagepack looks at: the certificate table entry
// (data directory 4), which an Authenticode signature fills. Read portably, every offset checked
// against the bytes at hand, so any file (a PE32 or PE32+ image, a truncated one, or no executable
// at all) is answered without reading past its end.
#pragma once

#include <cstddef>
#include <cstdint>

enum class PeKind { NotPe, Pe32, Pe32Plus };

struct PeCertificateTable {
    PeKind Kind = PeKind::NotPe;
    uint32_t Offset = 0;  // a file offset, not an RVA
    uint32_t Size = 0;
};

// From the first bytes of a file; NotPe when they do not hold complete headers up to the entry.
PeCertificateTable ReadPeCertificateTable(const uint8_t* bytes, size_t size);

inline bool IsSignedImage(const PeCertificateTable& table) {
    return table.Kind != PeKind::NotPe && table.Size != 0;
}
