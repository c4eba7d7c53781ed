// Adds one certificate (a PEM file) to the trusted roots of the Wine prefix it runs in.
// ./dev windows runs it only in the prefixes it makes for its own tests and trial, so the test
// CA is trusted there and nowhere else. It is never part of the program.
#include <windows.h>
// wincrypt.h after windows.h: it needs its types.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <wincrypt.h>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: trustca CERTIFICATE.pem\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::string pem((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto length = static_cast<DWORD>(pem.size());
    DWORD size = 0;
    if (pem.empty() || !CryptStringToBinaryA(pem.data(), length, CRYPT_STRING_BASE64HEADER, nullptr,
                                             &size, nullptr, nullptr)) {
        std::fprintf(stderr, "trustca: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<BYTE> der(size);
    CryptStringToBinaryA(pem.data(), length, CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr,
                         nullptr);
    HCERTSTORE root = CertOpenSystemStoreA(0, "ROOT");
    if (root == nullptr ||
        !CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(), size,
                                          CERT_STORE_ADD_REPLACE_EXISTING, nullptr)) {
        std::fprintf(stderr, "trustca: cannot add the certificate (error %lu)\n", GetLastError());
        return 1;
    }
    CertCloseStore(root, 0);
    return 0;
}
