// trust_ca.exe <certificate file>: adds a certificate authority (PEM or DER)
// to the machine's "Root" store, so that the platform's TLS (WinHTTP, and
// everything else that asks the system) trusts servers it signed. Meant for
// test and sample Wine prefixes that trust a throw-away authority made by
// tools/tls/make-test-ca.sh; never run it against a store you care about.
// Exit status 0 when the authority is in the store afterwards, 1 otherwise.
#include <windows.h>

#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The DER bytes of the first certificate in `text`: PEM ("-----BEGIN
// CERTIFICATE-----" and base64) or DER as it is.
bool CertificateBytes(const std::string& text, std::vector<BYTE>* der) {
    if (text.find("-----BEGIN") == std::string::npos) {
        der->assign(text.begin(), text.end());
        return !der->empty();
    }
    DWORD size = 0;
    if (!CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()),
                              CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr))
        return false;
    der->resize(size);
    return CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()),
                                CRYPT_STRING_BASE64HEADER, der->data(), &size, nullptr,
                                nullptr) != 0 &&
           (der->resize(size), true);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: trust_ca <ca.pem or ca.der>\n");
        return 1;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<BYTE> der;
    if (!in.is_open() || !CertificateBytes(text, &der)) {
        std::fprintf(stderr, "trust_ca: %s holds no certificate\n", argv[1]);
        return 1;
    }
    HCERTSTORE store =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
    if (!store) {
        std::fprintf(stderr, "trust_ca: cannot open the machine's Root store (%lu)\n",
                     GetLastError());
        return 1;
    }
    BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(),
                                                  static_cast<DWORD>(der.size()),
                                                  CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    DWORD error = GetLastError();
    CertCloseStore(store, 0);
    if (!added) {
        std::fprintf(stderr, "trust_ca: the store refused %s (%lu)\n", argv[1], error);
        return 1;
    }
    return 0;
}
