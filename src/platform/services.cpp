// services.cpp: the services in force, and the scopes that put others in their place.
#include "platform/services.h"

namespace platform {

namespace {

const Services kRealServices;
const Services* g_services = &kRealServices;

} // namespace

const Services& CurrentServices() {
    return *g_services;
}

ServicesScope::ServicesScope(Services services)
    : m_services(std::move(services)), m_previous(g_services) {
    g_services = &m_services;
}

ServicesScope::~ServicesScope() {
    g_services = m_previous;
}

} // namespace platform
