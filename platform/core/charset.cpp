#include "platform/core/charset.h"

#include <QStringDecoder>

#ifdef Q_OS_WIN
#include <windows.h>
// windows.h first: mlang.h relies on its types.
#include <mlang.h>
#endif

namespace platform {

namespace {

#ifdef Q_OS_WIN
// The Windows code page of a charset name, as the system's MLang service names them.
std::optional<UINT> codePageOf(const QByteArray& charset) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::optional<UINT> codePage;
    IMultiLanguage2* languages = nullptr;
    // MinGW's headers declare the interface but its import libraries lack the IID.
    constexpr IID MultiLanguage2{
        0xdccfc164, 0x2b38, 0x11d2, {0xb7, 0xec, 0x00, 0xc0, 0x4f, 0x8f, 0x5d, 0x9a}};
    if (SUCCEEDED(CoCreateInstance(CLSID_CMultiLanguage, nullptr, CLSCTX_INPROC_SERVER,
                                   MultiLanguage2, reinterpret_cast<void**>(&languages)))) {
        const QString name = QString::fromLatin1(charset);
        BSTR wide = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(name.utf16()),
                                      static_cast<UINT>(name.size()));
        MIMECSETINFO info{};
        if (wide != nullptr && SUCCEEDED(languages->GetCharsetInfo(wide, &info)))
            codePage = info.uiInternetEncoding;
        SysFreeString(wide);
        languages->Release();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return codePage;
}

std::optional<QString> decodeWithCodePage(UINT codePage, const QByteArray& bytes) {
    if (bytes.isEmpty())
        return QString();
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.constData(), size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(codePage, 0, bytes.constData(), size,
                        reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}
#endif

} // namespace

std::optional<QString> decodeCharset(const QByteArray& charset, const QByteArray& bytes) {
    if (charset.isEmpty())
        return std::nullopt;
    QStringDecoder decoder(charset.constData());
    if (decoder.isValid())
        return decoder.decode(bytes);
#ifdef Q_OS_WIN
    if (const auto codePage = codePageOf(charset))
        return decodeWithCodePage(*codePage, bytes);
#endif
    return std::nullopt;
}

} // namespace platform
