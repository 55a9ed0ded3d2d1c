-- Wireshark dissector for the Velmora device protocol on UDP port 3333.
-- It decodes UDP port 3333 and the tool's host port (a preference, 2222 by default).
-- Install: copy this file into ~/.local/lib/wireshark/plugins/ (or run tshark/wireshark with
-- -X lua_script:velmora.lua). Command frames begin EE BB, replies AA 55; every field shows by
-- name, ports are little-endian, temperatures are decoded to degrees Celsius, and a record that
-- is cut short or unknown is flagged as expert information instead of being mis-decoded.

local velmora = Proto("velmora", "Velmora device protocol")

local command_names = {
  [1] = "Set Params", [2] = "Set Host Port", [3] = "Set Server", [4] = "Set MAC",
  [5] = "Set Interval", [6] = "Save&Reboot", [8] = "Found Device", [9] = "Read Temperatures",
}
local record_names = {
  [1] = "Network", [2] = "Host Port", [3] = "Server", [4] = "MAC",
  [5] = "Interval", [7] = "Firmware", [9] = "Temperatures",
}
local server_kinds = { [1] = "name", [2] = "address" }

local f = {
  magic = ProtoField.bytes("velmora.magic", "Magic"),
  kind = ProtoField.string("velmora.kind", "Kind"),
  command = ProtoField.uint8("velmora.command", "Command", base.HEX, command_names),
  reserved = ProtoField.uint16("velmora.reserved", "Reserved", base.HEX),
  record = ProtoField.uint8("velmora.record", "Record", base.HEX, record_names),
  address = ProtoField.ipv4("velmora.address", "Device address"),
  gateway = ProtoField.ipv4("velmora.gateway", "Gateway"),
  mask = ProtoField.ipv4("velmora.mask", "Mask"),
  dns = ProtoField.ipv4("velmora.dns", "DNS"),
  dhcp = ProtoField.bool("velmora.dhcp", "DHCP"),
  dhcp_byte = ProtoField.uint8("velmora.dhcp_byte", "DHCP byte", base.HEX),
  host_port = ProtoField.uint16("velmora.host_port", "Host port", base.DEC),
  server_kind = ProtoField.uint8("velmora.server.kind", "Server given by", base.DEC, server_kinds),
  server_name_length = ProtoField.uint8("velmora.server.name_length", "Server name length", base.DEC),
  server_name = ProtoField.string("velmora.server.name", "Server name"),
  server_address = ProtoField.ipv4("velmora.server.address", "Server address"),
  server_port = ProtoField.uint16("velmora.server.port", "Server port", base.DEC),
  mac = ProtoField.ether("velmora.mac", "MAC"),
  interval = ProtoField.uint8("velmora.interval", "Interval (minutes)", base.DEC),
  firmware = ProtoField.string("velmora.firmware", "Firmware"),
  sensor_count = ProtoField.uint8("velmora.sensors", "Sensors", base.DEC),
  sensor = ProtoField.uint8("velmora.sensor", "Sensor", base.DEC),
  raw = ProtoField.uint16("velmora.temperature.raw", "Raw sample", base.HEX),
  celsius = ProtoField.double("velmora.temperature", "Temperature (°C)"),
}
velmora.fields = f

local e = {
  short = ProtoExpert.new("velmora.short", "Cut short", expert.group.MALFORMED, expert.severity.ERROR),
  length = ProtoExpert.new("velmora.length", "Unexpected length", expert.group.MALFORMED, expert.severity.WARN),
  unknown = ProtoExpert.new("velmora.unknown", "Unknown code", expert.group.PROTOCOL, expert.severity.WARN),
  reach = ProtoExpert.new("velmora.beyond_reach", "Beyond the tool's reach", expert.group.PROTOCOL,
                          expert.severity.NOTE),
  foreign = ProtoExpert.new("velmora.foreign", "Not a Velmora datagram", expert.group.MALFORMED,
                            expert.severity.WARN),
}
velmora.experts = { e.short, e.length, e.unknown, e.reach, e.foreign }

-- Two's-complement sixteenths of a degree, low byte first; of the magnitude only the low
-- eleven bits count, as the tool decodes them.
local function celsius(low, high)
  local value = high * 256 + low
  local negative = high >= 128
  if negative then value = (65536 - value) % 65536 end
  local magnitude = value % 2048
  local degrees = magnitude / 16
  if negative then return -degrees end
  return degrees
end

local function dotted(tvb, at)
  return string.format("%d.%d.%d.%d", tvb(at, 1):uint(), tvb(at + 1, 1):uint(), tvb(at + 2, 1):uint(),
                       tvb(at + 3, 1):uint())
end

-- Adds the fields of one command frame after its code byte.
local function command_body(code, tvb, tree, pinfo)
  local n = tvb:len()
  local function need(length)
    if n < length then
      tree:add_proto_expert_info(e.short, string.format("%s needs %d bytes, %d present",
                                                        command_names[code] or "Command", length, n))
      return false
    end
    if n > length then
      tree:add_proto_expert_info(e.length, string.format("%d bytes after the %d of the frame", n - length, length))
    end
    return true
  end
  if code == 1 then
    if need(15) then
      tree:add(f.address, tvb(3, 4))
      tree:add(f.gateway, tvb(7, 4))
      tree:add(f.mask, tvb(11, 4))
      return dotted(tvb, 3)
    end
  elseif code == 2 then
    if need(5) then
      tree:add_le(f.host_port, tvb(3, 2))
      return tostring(tvb(3, 2):le_uint())
    end
  elseif code == 3 then
    if n < 4 then need(4) return end
    local kind = tvb(3, 1):uint()
    tree:add(f.server_kind, tvb(3, 1))
    if kind == 1 then
      if n < 5 then need(5) return end
      local length = tvb(4, 1):uint()
      tree:add(f.server_name_length, tvb(4, 1))
      if need(7 + length) then
        tree:add(f.server_name, tvb(5, length))
        tree:add_le(f.server_port, tvb(5 + length, 2))
        return string.format("%s:%d", tvb(5, length):raw(), tvb(5 + length, 2):le_uint())
      end
    elseif need(10) then
      tree:add(f.server_address, tvb(4, 4))
      tree:add_le(f.server_port, tvb(8, 2))
      return string.format("%s:%d", dotted(tvb, 4), tvb(8, 2):le_uint())
    end
  elseif code == 4 then
    if need(9) then
      tree:add(f.mac, tvb(3, 6))
      return tostring(tvb(3, 6):ether())
    end
  elseif code == 5 then
    if need(4) then
      tree:add(f.interval, tvb(3, 1))
      return tostring(tvb(3, 1):uint()) .. " min"
    end
  elseif command_names[code] then
    need(3)
  else
    tree:add_proto_expert_info(e.unknown, string.format("Unknown command code 0x%02X", code))
  end
end

local function record_length(code, tvb, at)
  local function byte(offset)
    if at + offset < tvb:len() then return tvb(at + offset, 1):uint() end
    return 0
  end
  if code == 1 then return 18
  elseif code == 2 then return 3
  elseif code == 3 then
    if byte(1) == 1 then return 8 + byte(2) end
    return 12
  elseif code == 4 then return 7
  elseif code == 5 then return 2
  elseif code == 7 then return 5
  elseif code == 9 then return 2 + 2 * byte(1)
  end
  return 1
end

-- Adds one whole record; returns a short summary for the Info column.
local function record_body(code, tvb, at, tree)
  if code == 1 then
    tree:add(f.address, tvb(at + 1, 4))
    tree:add(f.gateway, tvb(at + 5, 4))
    tree:add(f.mask, tvb(at + 9, 4))
    tree:add(f.dns, tvb(at + 13, 4))
    local dhcp = tvb(at + 17, 1)
    tree:add(f.dhcp, dhcp, dhcp:uint() == 0xAE)
    tree:add(f.dhcp_byte, dhcp)
    return "network " .. dotted(tvb, at + 1)
  elseif code == 2 then
    tree:add_le(f.host_port, tvb(at + 1, 2))
    return "host port " .. tvb(at + 1, 2):le_uint()
  elseif code == 3 then
    local kind = tvb(at + 1, 1):uint()
    local length = tvb(at + 2, 1):uint()
    tree:add(f.server_kind, tvb(at + 1, 1))
    tree:add(f.server_name_length, tvb(at + 2, 1))
    tree:add_le(f.server_port, tvb(at + 3, 2))
    local next, server = at + 5, nil
    if kind == 1 then
      tree:add(f.server_name, tvb(next, length))
      server = tvb(next, length):raw()
      next = next + length
    else
      tree:add(f.server_address, tvb(next, 4))
      server = dotted(tvb, next)
      next = next + 4
    end
    tree:add(f.interval, tvb(next, 1))
    tree:add_le(f.host_port, tvb(next + 1, 2))
    return string.format("server %s:%d", server, tvb(at + 3, 2):le_uint())
  elseif code == 4 then
    tree:add(f.mac, tvb(at + 1, 6))
    return "MAC " .. tostring(tvb(at + 1, 6):ether())
  elseif code == 5 then
    tree:add(f.interval, tvb(at + 1, 1))
    return "interval " .. tvb(at + 1, 1):uint()
  elseif code == 7 then
    tree:add(f.firmware, tvb(at + 1, 4))
    return "firmware " .. tvb(at + 1, 4):raw()
  elseif code == 9 then
    local count = tvb(at + 1, 1):uint()
    tree:add(f.sensor_count, tvb(at + 1, 1))
    local values = {}
    for i = 0, count - 1 do
      local sample = tvb(at + 2 + 2 * i, 2)
      local degrees = celsius(sample(0, 1):uint(), sample(1, 1):uint())
      local item = tree:add(f.celsius, sample, degrees)
      item:prepend_text(string.format("Sensor %d: ", i))
      item:add(f.sensor, sample, i):set_generated()
      item:add_le(f.raw, sample)
      values[#values + 1] = string.format("%.4f", degrees)
    end
    return "temperatures " .. table.concat(values, " ")
  end
  tree:add_proto_expert_info(e.unknown, string.format("Unknown record code 0x%02X: the tool skips one byte", code))
  return string.format("unknown 0x%02X", code)
end

local function dissect_reply(tvb, tree)
  local n = tvb:len()
  if n < 4 then
    tree:add_proto_expert_info(e.short, string.format("A reply has a 4-byte header; %d bytes present", n))
    return "reply (cut short)"
  end
  tree:add(f.reserved, tvb(2, 2))
  local summary = {}
  local at = 4
  while at < n do
    local code = tvb(at, 1):uint()
    local length = record_length(code, tvb, at)
    local available = math.min(length, n - at)
    local name = record_names[code] or string.format("Unknown 0x%02X", code)
    local sub = tree:add(velmora, tvb(at, available), string.format("Record: %s", name))
    sub:add(f.record, tvb(at, 1))
    if at + length > 256 then
      sub:add_proto_expert_info(e.reach, "The tool's one-byte cursor cannot reach this record's end; it ignores it")
    end
    if at + length > n then
      sub:add_proto_expert_info(e.short, string.format("%s record needs %d bytes, %d present", name, length, n - at))
      summary[#summary + 1] = name .. " (cut short)"
      break
    end
    summary[#summary + 1] = record_body(code, tvb, at, sub)
    at = at + length
  end
  return table.concat(summary, ", ")
end

function velmora.dissector(tvb, pinfo, tree)
  local n = tvb:len()
  if n == 0 then return 0 end
  pinfo.cols.protocol = "VELMORA"
  local root = tree:add(velmora, tvb(), "Velmora device protocol")
  if n < 2 then
    root:add_proto_expert_info(e.foreign, "One byte: no magic")
    pinfo.cols.info = "Not a Velmora datagram"
    return n
  end
  local b0, b1 = tvb(0, 1):uint(), tvb(1, 1):uint()
  if b0 == 0xEE and b1 == 0xBB then
    root:add(f.magic, tvb(0, 2))
    root:add(f.kind, "command")
    if n < 3 then
      root:add_proto_expert_info(e.short, "A command needs its code byte")
      pinfo.cols.info = "Command (cut short)"
      return n
    end
    local code = tvb(2, 1):uint()
    root:add(f.command, tvb(2, 1))
    local name = command_names[code] or string.format("Unknown command 0x%02X", code)
    local detail = command_body(code, tvb, root, pinfo)
    pinfo.cols.info = "Command " .. name .. (detail and (" " .. detail) or "")
  elseif b0 == 0xAA and b1 == 0x55 then
    root:add(f.magic, tvb(0, 2))
    root:add(f.kind, "reply")
    pinfo.cols.info = "Reply " .. dissect_reply(tvb, root)
  else
    root:add_proto_expert_info(e.foreign, "Neither EE BB nor AA 55")
    pinfo.cols.info = "Not a Velmora datagram"
  end
  return n
end

-- Replies go to the tool's host port, 2222 unless changed, where Wireshark would otherwise
-- guess CIP I/O, which owns that port number; the preference follows a changed host port.
velmora.prefs.host_port = Pref.uint("Host port", 2222, "The UDP port on which the tool takes the device's replies")
local udp_port = DissectorTable.get("udp.port")
local registered_host_port = 2222
udp_port:add(3333, velmora)
udp_port:add(registered_host_port, velmora)

function velmora.prefs_changed()
  if velmora.prefs.host_port ~= registered_host_port then
    udp_port:remove(registered_host_port, velmora)
    registered_host_port = velmora.prefs.host_port
    udp_port:add(registered_host_port, velmora)
  end
end
