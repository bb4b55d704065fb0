// The facts every saved picture carries three times over: as TIFF ASCII
// fields, as an IPTC-IIM record and as an XMP packet. Also the filter that
// turns a typed author's name into one that is safe in all three.
//
// Every string and block that goes into the TIFF data area has an even stored
// size, so that every field starts on an even offset: strings are kept at an
// odd length (their NUL makes the size even) and the IPTC record is padded.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace huewright {

constexpr const char* titletext = "Xo Gradient Palettes";
// The maker's name and one space: 25 characters, an odd length.
constexpr const char* softwaretext = "CorvaneQuillbrookStudios ";
constexpr const char* defaultusername = "Anonymous";
// The longest name the Name Entry dialog keeps, in characters: its box
// takes no more, and the name keeps all that the box shows.
constexpr int usernamemax = 31;

// The current time; tests put in a fixed one.
using Clock = std::function<std::time_t()>;
std::time_t systemclock();

// The strings of one save.
struct Metadata {
    std::string titlestring;
    std::string softwarestring;
    std::string artiststring;
    std::string copyrightstring;
    std::string descriptionstring;
};

// Appends one space when the length is even, so that with its NUL the string
// takes an even number of bytes.
void padodd(std::string& s);

// Composes the strings for a save at `now`: the copyright notice
// "© M-D-YYYY - name" is dated in UTC. The caller's description is padded in
// place, as the description the program keeps shows that space afterwards too.
Metadata writestrings(std::string& descriptionstring, const std::string& username, std::time_t now);

// The IPTC-IIM record: coded character set UTF-8, record version, object
// name, originating program, by-line, copyright notice and caption. Even size.
std::vector<uint8_t> iptcwrite(const Metadata& m);

// The XMP packet, without its NUL; its size with the NUL is even. Inserted
// strings are escaped, so the packet is well-formed XML whatever they hold.
std::string xmpwrite(const Metadata& m);

// The name as stored from what the user typed: the first 31 characters,
// letters and digits of any script kept, as well as space & + - . @ _, every
// other character replaced by one "*", and a space appended when the byte
// length is even.
std::string filtername(const std::string& typed);

}  // namespace huewright
