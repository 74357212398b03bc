// The gSOAP runtime looks the XML namespace table up by this global name.
#include "k4wBinding.nsmap"
