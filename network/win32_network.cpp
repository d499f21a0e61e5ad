// The network seam over iphlpapi (adapters, default routes, the neighbour
// table), the Network List Manager (networks' names) and wlanapi (SSIDs).
// Every library but the known ones is loaded from the system directory, and
// every function looked up before it is called: what the platform lacks
// (Wine lacks some outright) is left out, never guessed.
#include <winsock2.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <netioapi.h>
#include <netlistmgr.h>
#include <wlanapi.h>

#include <cstring>

#include "network/network_seam.h"
#include "platform/win32_encoding.h"
#include "platform/win32_platform.h"
#include "store/text_format.h"

namespace {

using GetAdaptersAddressesFn = ULONG(WINAPI*)(ULONG, ULONG, PVOID, PIP_ADAPTER_ADDRESSES, PULONG);
using GetIpForwardTable2Fn = DWORD(WINAPI*)(ADDRESS_FAMILY, PMIB_IPFORWARD_TABLE2*);
using GetIpNetTable2Fn = DWORD(WINAPI*)(ADDRESS_FAMILY, PMIB_IPNET_TABLE2*);
using FreeMibTableFn = VOID(WINAPI*)(PVOID);

std::string AddressText(const SOCKADDR* address) {
    if (address->sa_family == AF_INET) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(
            &reinterpret_cast<const sockaddr_in*>(address)->sin_addr);
        return Concat({Decimal(bytes[0]), ".", Decimal(bytes[1]), ".", Decimal(bytes[2]), ".",
                       Decimal(bytes[3])});
    }
    // IPv6, the longest run of zero groups written "::".
    const auto* bytes = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr.s6_addr;
    unsigned groups[8];
    for (std::size_t i = 0; i < 8; ++i) {
        groups[i] = (bytes[2 * i] << 8) | bytes[2 * i + 1];
    }
    int runStart = -1;
    int runLength = 1;
    for (int i = 0; i < 8;) {
        int j = i;
        while (j < 8 && groups[j] == 0) {
            ++j;
        }
        if (j - i > runLength) {
            runStart = i;
            runLength = j - i;
        }
        i = j == i ? i + 1 : j;
    }
    std::string text;
    for (int i = 0; i < 8; ++i) {
        if (i == runStart) {
            text += "::";
            i += runLength - 1;
            continue;
        }
        if (!text.empty() && text.back() != ':') {
            text += ':';
        }
        text += Hex(groups[i], 1, true);
    }
    return text;
}

bool SameAddress(const SOCKADDR_INET& a, const SOCKADDR_INET& b) {
    if (a.si_family != b.si_family) {
        return false;
    }
    return a.si_family == AF_INET
               ? a.Ipv4.sin_addr.s_addr == b.Ipv4.sin_addr.s_addr
               : std::memcmp(&a.Ipv6.sin6_addr, &b.Ipv6.sin6_addr, sizeof a.Ipv6.sin6_addr) == 0;
}

std::string MacText(const UCHAR* bytes, ULONG length) {
    bool zero = true;
    std::string text;
    for (ULONG i = 0; i < length; ++i) {
        zero = zero && bytes[i] == 0;
        text += Concat({i == 0 ? "" : "-", Hex(bytes[i], 2, true)});
    }
    return length == 6 && !zero ? text : std::string();
}

using ConvertLuidToGuidFn = DWORD(WINAPI*)(const NET_LUID*, GUID*);

// An adapter that is up and has a default gateway.
struct Adapter {
    ConnectedNetwork network;
    GUID id{};                          // as the other libraries name it
    ULONG index = 0;                    // of the gateway's family
    std::uint64_t interfaceMetric = 0;  // of that family
    SOCKADDR_INET gateway{};
};

Adapter* Find(std::vector<Adapter>& adapters, const GUID& id) {
    for (Adapter& adapter : adapters) {
        if (std::memcmp(&adapter.id, &id, sizeof id) == 0) {
            return &adapter;
        }
    }
    return nullptr;
}

std::vector<Adapter> Adapters(HMODULE iphlpapi) {
    std::vector<Adapter> adapters;
    GetAdaptersAddressesFn getAdapters = nullptr;
    ConvertLuidToGuidFn toGuid = nullptr;
    if (!Resolve(iphlpapi, "GetAdaptersAddresses", &getAdapters)) {
        return adapters;
    }
    Resolve(iphlpapi, "ConvertInterfaceLuidToGuid", &toGuid);
    std::vector<BYTE> buffer;
    ULONG size = 16384;
    ULONG status = ERROR_BUFFER_OVERFLOW;
    for (int tries = 0; tries < 4 && status == ERROR_BUFFER_OVERFLOW; ++tries) {
        buffer.resize(size);
        status = getAdapters(
            AF_UNSPEC,
            GAA_FLAG_INCLUDE_GATEWAYS | GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST |
                GAA_FLAG_SKIP_DNS_SERVER | GAA_FLAG_SKIP_FRIENDLY_NAME,
            nullptr, reinterpret_cast<PIP_ADAPTER_ADDRESSES>(buffer.data()), &size);
    }
    if (status != NO_ERROR) {
        return adapters;
    }
    for (auto* a = reinterpret_cast<PIP_ADAPTER_ADDRESSES>(buffer.data()); a != nullptr;
         a = a->Next) {
        if (a->OperStatus != IfOperStatusUp || a->FirstGatewayAddress == nullptr) {
            continue;
        }
        // The IPv4 gateway where there is one.
        const SOCKADDR* gateway = a->FirstGatewayAddress->Address.lpSockaddr;
        for (auto* g = a->FirstGatewayAddress; g != nullptr; g = g->Next) {
            if (g->Address.lpSockaddr->sa_family == AF_INET) {
                gateway = g->Address.lpSockaddr;
                break;
            }
        }
        Adapter adapter;
        const bool v4 = gateway->sa_family == AF_INET;
        adapter.network.adapter = Decimal(a->Luid.Value);
        if (toGuid != nullptr) {
            toGuid(&a->Luid, &adapter.id);
        }
        adapter.network.dnsSuffix = a->DnsSuffix != nullptr ? Narrow(a->DnsSuffix) : std::string();
        adapter.network.gateway = AddressText(gateway);
        adapter.index = v4 ? a->IfIndex : a->Ipv6IfIndex;
        adapter.interfaceMetric = v4 ? a->Ipv4Metric : a->Ipv6Metric;
        std::memcpy(&adapter.gateway, gateway, v4 ? sizeof(sockaddr_in) : sizeof(sockaddr_in6));
        adapters.push_back(std::move(adapter));
    }
    return adapters;
}

// The lowest metric of each adapter's default route, with its interface's;
// an adapter without a route of its own comes last.
void RouteMetrics(HMODULE iphlpapi, std::vector<Adapter>& adapters) {
    for (Adapter& adapter : adapters) {
        adapter.network.metric = UINT64_MAX;
    }
    GetIpForwardTable2Fn getRoutes = nullptr;
    FreeMibTableFn freeTable = nullptr;
    PMIB_IPFORWARD_TABLE2 table = nullptr;
    if (!Resolve(iphlpapi, "GetIpForwardTable2", &getRoutes) ||
        !Resolve(iphlpapi, "FreeMibTable", &freeTable) ||
        getRoutes(AF_UNSPEC, &table) != NO_ERROR) {
        return;
    }
    for (ULONG i = 0; i < table->NumEntries; ++i) {
        const MIB_IPFORWARD_ROW2& row = table->Table[i];
        for (Adapter& adapter : adapters) {
            if (row.DestinationPrefix.PrefixLength == 0 && row.InterfaceIndex == adapter.index &&
                row.DestinationPrefix.Prefix.si_family == adapter.gateway.si_family) {
                adapter.network.metric = std::min<std::uint64_t>(
                    adapter.network.metric, row.Metric + adapter.interfaceMetric);
            }
        }
    }
    freeTable(table);
}

// The gateway's hardware address, from the neighbour table.
void GatewayMacs(HMODULE iphlpapi, std::vector<Adapter>& adapters) {
    GetIpNetTable2Fn getNeighbours = nullptr;
    FreeMibTableFn freeTable = nullptr;
    if (!Resolve(iphlpapi, "GetIpNetTable2", &getNeighbours) ||
        !Resolve(iphlpapi, "FreeMibTable", &freeTable)) {
        return;
    }
    PMIB_IPNET_TABLE2 table = nullptr;
    // Some platforms give both families only one by one.
    if (getNeighbours(AF_UNSPEC, &table) != NO_ERROR) {
        if (table != nullptr) {
            freeTable(table);
            table = nullptr;
        }
        if (getNeighbours(AF_INET, &table) != NO_ERROR) {
            return;
        }
    }
    for (ULONG i = 0; i < table->NumEntries; ++i) {
        const MIB_IPNET_ROW2& row = table->Table[i];
        for (Adapter& adapter : adapters) {
            if (row.InterfaceIndex == adapter.index && SameAddress(adapter.gateway, row.Address) &&
                row.State != NlnsUnreachable && row.State != NlnsIncomplete) {
                adapter.network.gatewayMac =
                    MacText(row.PhysicalAddress, row.PhysicalAddressLength);
            }
        }
    }
    freeTable(table);
}

// The names the system lists the networks by, through the Network List
// Manager's connections to each adapter.
void NetworkNames(std::vector<Adapter>& adapters) {
    const ModuleOwner ole32 = LoadSystemLibrary(L"ole32.dll");
    const ModuleOwner oleaut32 = LoadSystemLibrary(L"oleaut32.dll");
    using InitializeFn = HRESULT(WINAPI*)(LPVOID, DWORD);
    using UninitializeFn = void(WINAPI*)();
    using CreateFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    using FreeStringFn = void(WINAPI*)(BSTR);
    InitializeFn initialize = nullptr;
    UninitializeFn uninitialize = nullptr;
    CreateFn create = nullptr;
    FreeStringFn freeString = nullptr;
    if (!ole32.Valid() || !oleaut32.Valid() ||
        !Resolve(ole32.Get(), "CoInitializeEx", &initialize) ||
        !Resolve(ole32.Get(), "CoUninitialize", &uninitialize) ||
        !Resolve(ole32.Get(), "CoCreateInstance", &create) ||
        !Resolve(oleaut32.Get(), "SysFreeString", &freeString)) {
        return;
    }
    const HRESULT initialized = initialize(nullptr, COINIT_APARTMENTTHREADED);
    constexpr GUID kManager = {
        0xDCB00C01, 0x570F, 0x4A9B, {0x8D, 0x69, 0x19, 0x9F, 0xDB, 0xA5, 0x72, 0x3B}};
    constexpr GUID kManagerInterface = {
        0xDCB00000, 0x570F, 0x4A9B, {0x8D, 0x69, 0x19, 0x9F, 0xDB, 0xA5, 0x72, 0x3B}};
    INetworkListManager* manager = nullptr;
    IEnumNetworkConnections* connections = nullptr;
    if (SUCCEEDED(create(kManager, nullptr, CLSCTX_ALL, kManagerInterface,
                         reinterpret_cast<void**>(&manager))) &&
        SUCCEEDED(manager->GetNetworkConnections(&connections))) {
        INetworkConnection* connection = nullptr;
        while (connections->Next(1, &connection, nullptr) == S_OK) {
            GUID adapter{};
            INetwork* network = nullptr;
            BSTR name = nullptr;
            if (SUCCEEDED(connection->GetAdapterId(&adapter)) &&
                SUCCEEDED(connection->GetNetwork(&network)) && SUCCEEDED(network->GetName(&name)) &&
                name != nullptr) {
                if (Adapter* found = Find(adapters, adapter)) {
                    found->network.name = Narrow(name);
                }
            }
            if (name != nullptr) {
                freeString(name);
            }
            if (network != nullptr) {
                network->Release();
            }
            connection->Release();
        }
        connections->Release();
    }
    if (manager != nullptr) {
        manager->Release();
    }
    if (SUCCEEDED(initialized)) {
        uninitialize();
    }
}

// The SSIDs of the Wi-Fi adapters that are connected.
void Ssids(std::vector<Adapter>& adapters) {
    const ModuleOwner wlanapi = LoadSystemLibrary(L"wlanapi.dll");
    using OpenFn = DWORD(WINAPI*)(DWORD, PVOID, PDWORD, PHANDLE);
    using CloseFn = DWORD(WINAPI*)(HANDLE, PVOID);
    using EnumFn = DWORD(WINAPI*)(HANDLE, PVOID, PWLAN_INTERFACE_INFO_LIST*);
    using QueryFn = DWORD(WINAPI*)(HANDLE, const GUID*, WLAN_INTF_OPCODE, PVOID, PDWORD, PVOID*,
                                   PWLAN_OPCODE_VALUE_TYPE);
    using FreeFn = VOID(WINAPI*)(PVOID);
    OpenFn open = nullptr;
    CloseFn close = nullptr;
    EnumFn enumerate = nullptr;
    QueryFn query = nullptr;
    FreeFn freeMemory = nullptr;
    DWORD version = 0;
    HANDLE client = nullptr;
    if (!wlanapi.Valid() || !Resolve(wlanapi.Get(), "WlanOpenHandle", &open) ||
        !Resolve(wlanapi.Get(), "WlanCloseHandle", &close) ||
        !Resolve(wlanapi.Get(), "WlanEnumInterfaces", &enumerate) ||
        !Resolve(wlanapi.Get(), "WlanQueryInterface", &query) ||
        !Resolve(wlanapi.Get(), "WlanFreeMemory", &freeMemory) ||
        open(2, nullptr, &version, &client) != ERROR_SUCCESS) {
        return;
    }
    PWLAN_INTERFACE_INFO_LIST list = nullptr;
    if (enumerate(client, nullptr, &list) == ERROR_SUCCESS) {
        for (DWORD i = 0; i < list->dwNumberOfItems; ++i) {
            const WLAN_INTERFACE_INFO& info = list->InterfaceInfo[i];
            Adapter* found = Find(adapters, info.InterfaceGuid);
            DWORD size = 0;
            PWLAN_CONNECTION_ATTRIBUTES attributes = nullptr;
            if (found == nullptr || info.isState != wlan_interface_state_connected ||
                query(client, &info.InterfaceGuid, wlan_intf_opcode_current_connection, nullptr,
                      &size, reinterpret_cast<PVOID*>(&attributes), nullptr) != ERROR_SUCCESS) {
                continue;
            }
            const DOT11_SSID& ssid = attributes->wlanAssociationAttributes.dot11Ssid;
            found->network.ssid.assign(reinterpret_cast<const char*>(ssid.ucSSID),
                                       std::min<ULONG>(ssid.uSSIDLength, DOT11_SSID_MAX_LENGTH));
            freeMemory(attributes);
        }
        freeMemory(list);
    }
    close(client, nullptr);
}

class Win32Networks final : public NetworkSeam {
  public:
    std::vector<ConnectedNetwork> ConnectedNetworks(NetworkLook look) override {
        std::vector<ConnectedNetwork> networks;
        const ModuleOwner iphlpapi = LoadSystemLibrary(L"iphlpapi.dll");
        if (!iphlpapi.Valid()) {
            return networks;
        }
        std::vector<Adapter> adapters = Adapters(iphlpapi.Get());
        if (adapters.empty()) {
            return networks;
        }
        if (look == NetworkLook::kIdentities) {
            RouteMetrics(iphlpapi.Get(), adapters);
            GatewayMacs(iphlpapi.Get(), adapters);
            NetworkNames(adapters);
            Ssids(adapters);
        }
        for (Adapter& adapter : adapters) {
            networks.push_back(std::move(adapter.network));
        }
        return networks;
    }
};

}  // namespace

NetworkSeam& TheNetworks() {
    static Win32Networks networks;
    return networks;
}
